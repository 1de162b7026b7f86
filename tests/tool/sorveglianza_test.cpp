#include "tool/sorveglianza.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include <gtest/gtest.h>

#include "aiuti_test.h"

namespace gs {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

TEST(Sorveglianza, SeesEveryKindOfChangeOnceAndNothingElse) {
  test::CartellaTemporanea dir;
  const std::string linea = dir.file("a.txt");
  const std::string treno = dir.file("b.txt");
  test::scrivi_byte(linea, "one");
  Sorveglianza sorveglianza({linea, treno});
  EXPECT_FALSE(sorveglianza.cambiata()) << "nothing changed yet";

  test::scrivi_byte(linea, "longer");
  EXPECT_TRUE(sorveglianza.cambiata()) << "new size";
  EXPECT_FALSE(sorveglianza.cambiata()) << "the same change seen twice";

  // Same size, same content: only the time tells.
  fs::last_write_time(linea, fs::last_write_time(linea) + 1s);
  EXPECT_TRUE(sorveglianza.cambiata()) << "new modification time";

  test::scrivi_byte(treno, "");
  EXPECT_TRUE(sorveglianza.cambiata()) << "a file appears, empty";

  fs::remove(linea);
  EXPECT_TRUE(sorveglianza.cambiata()) << "a file goes";
  EXPECT_FALSE(sorveglianza.cambiata());
}

TEST(Sorveglianza, AFileThatCannotBeLookedAtCountsAsAbsent) {
  test::CartellaTemporanea dir;
  EXPECT_FALSE(stato_file(dir.file("missing")).presente);
  EXPECT_FALSE(stato_file(dir.percorso().string()).presente) << "a directory has no file size";
}

TEST(SorveglianzaPeriodica, CallsAfterAChangeAndRetriesACallThatThrew) {
  test::CartellaTemporanea dir;
  const std::string file = dir.file("a.txt");
  test::scrivi_byte(file, "one");
  std::atomic<int> chiamate{0};
  SorveglianzaPeriodica periodica(Sorveglianza({file}), 10ms, [&] {
    if (++chiamate == 1) throw std::runtime_error("the first call fails");
  });
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(chiamate, 0) << "no change, no call";

  test::scrivi_byte(file, "two!");
  const auto scadenza = std::chrono::steady_clock::now() + 2s;
  while (chiamate < 2 && std::chrono::steady_clock::now() < scadenza) std::this_thread::sleep_for(5ms);
  EXPECT_EQ(chiamate, 2) << "the failed call is made again";
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(chiamate, 2) << "and then no more";
}

TEST(SorveglianzaPeriodica, StopsPromptlyEvenWithALongInterval) {
  const auto inizio = std::chrono::steady_clock::now();
  {
    SorveglianzaPeriodica periodica(Sorveglianza({}), 1h, [] {});
  }
  EXPECT_LT(std::chrono::steady_clock::now() - inizio, 1s);
}

}  // namespace
}  // namespace gs
