// The viewer as one file (plot --html) of the embedded scenario, and of one
// with an error, in headless Chromium.
import assert from 'node:assert/strict';
import path from 'node:path';
import { after, before, describe, test } from 'node:test';
import { pathToFileURL } from 'node:url';
import {
  TRENO, apri, avviaBrowser, intervallo, modificaFile, paginaAutonoma, pronta, scenarioIncorporato,
  scenarioLungo, schermata,
} from './aiuti.mjs';

const LUNGHEZZA_BINARIO = 89050;  // 82,000 m of route, 7,000 m beyond, in whole cells

let browser;
before(async () => { browser = await avviaBrowser(); });
after(async () => { await browser?.close(); });

describe('the embedded scenario', () => {
  let pagina;
  before(async () => {
    const { file, stato } = paginaAutonoma(scenarioIncorporato());
    assert.equal(stato, 0);
    pagina = await apri(browser, pathToFileURL(file).href);
  });
  after(async () => {
    assert.deepEqual(pagina.erroriPagina, []);
    await pagina.close();
  });

  test('draws every station over the whole line', async () => {
    assert.deepEqual(await intervallo(pagina), { start: 0, end: LUNGHEZZA_BINARIO });
    const stazioni = await pagina.evaluate(() => window.vista.drawn('stations'));
    assert.equal(stazioni.length, 16);
    assert.equal(stazioni[0].label, 'FIRENZE S.M.N.');
    assert.equal(stazioni[15].label, 'PISA C.le');
    const conta = await pagina.evaluate(() => window.vista.counts());
    assert.equal(conta.signals, 42);
    assert.equal(conta.boards, 19);
    assert.equal(conta.speed_limits, 20);
    assert.match(await pagina.$eval('#stato', (e) => e.textContent), /compiles · 0 errors, 0 warnings/);
    await schermata(pagina, 'embedded-full-length.png');
  });

  test('zooms with the keys and the wheel, and back to the whole line', async () => {
    await pagina.focus('#binario');
    await pagina.keyboard.press('+');
    await pronta(pagina);
    let r = await intervallo(pagina);
    assert.ok(Math.abs((r.end - r.start) - LUNGHEZZA_BINARIO / 1.5) < 1, JSON.stringify(r));
    await pagina.keyboard.press('-');
    await pronta(pagina);
    r = await intervallo(pagina);
    assert.ok(Math.abs((r.end - r.start) - LUNGHEZZA_BINARIO) < 1, JSON.stringify(r));

    // The wheel keeps the metre under the pointer where it was.
    const riquadro = await (await pagina.$('#binario')).boundingBox();
    const x = riquadro.x + riquadro.width / 2, y = riquadro.y + 100;
    const sotto = (v) => v.start + (x - riquadro.x - 104) / (riquadro.width - 104 - 14) * (v.end - v.start);
    const prima = sotto(r);
    await pagina.mouse.move(x, y);
    for (let i = 0; i < 30; i++) await pagina.mouse.wheel({ deltaY: -100 });
    await pronta(pagina);
    r = await intervallo(pagina);
    assert.ok(r.end - r.start < 2000, JSON.stringify(r));
    assert.ok(Math.abs(sotto(r) - prima) < 5, `${sotto(r)} against ${prima}`);
    // As far as a single cell can be told apart, no further.
    for (let i = 0; i < 30; i++) await pagina.mouse.wheel({ deltaY: -100 });
    await pronta(pagina);
    r = await intervallo(pagina);
    assert.equal(r.end - r.start, 100);
    const testo = await pagina.$eval('#ispettore', (e) => e.textContent);
    assert.match(testo, /cell\s*\d+/);
    await pagina.keyboard.press('0');
    await pronta(pagina);
    assert.deepEqual(await intervallo(pagina), { start: 0, end: LUNGHEZZA_BINARIO });
  });

  test('a drag along the km axis zooms to that stretch; a drag above it pans', async () => {
    const stazione = (await pagina.evaluate(() => window.vista.drawn('stations')))
      .find((s) => s.label === 'EMPOLI');
    const riquadro = await (await pagina.$('#binario')).boundingBox();
    const asse = await pagina.evaluate(() => document.getElementById('binario').getBoundingClientRect().top);
    const yAsse = asse + 500;  // below the last lane, on the axis
    await pagina.mouse.move(stazione.x - 12, yAsse);
    await pagina.mouse.down();
    await pagina.mouse.move(stazione.x + 12, yAsse, { steps: 4 });
    await pagina.mouse.up();
    await pronta(pagina);
    let r = await intervallo(pagina);
    assert.ok(r.start < 33800 && r.end > 33800 && r.end - r.start < 3000, JSON.stringify(r));
    const nomi = (await pagina.evaluate(() => window.vista.drawn('stations'))).map((s) => s.label);
    assert.deepEqual(nomi, ['EMPOLI']);
    await schermata(pagina, 'embedded-one-station.png');

    const prima = r;
    await pagina.mouse.move(riquadro.x + 700, riquadro.y + 200);
    await pagina.mouse.down();
    await pagina.mouse.move(riquadro.x + 500, riquadro.y + 200, { steps: 4 });
    await pagina.mouse.up();
    await pronta(pagina);
    r = await intervallo(pagina);
    assert.ok(Math.abs((r.end - r.start) - (prima.end - prima.start)) < 1e-6);
    assert.ok(r.start > prima.start, 'a drag to the left shows what lies further along');
    await pagina.keyboard.press('ArrowLeft');
    await pronta(pagina);
    assert.ok((await intervallo(pagina)).start < r.start);
  });

  test('hovering a signal shows its values and the line it comes from', async () => {
    await pagina.keyboard.press('0');
    await pronta(pagina);
    const segnale = (await pagina.evaluate(() => window.vista.drawn('signals')))
      .find((s) => s.position === 1000);
    await pagina.mouse.move(segnale.x, segnale.y);
    await pagina.waitForSelector('#tooltip:not([hidden])');
    const testo = await pagina.$eval('#tooltip-testo', (e) => e.textContent);
    assert.match(testo, /Signal at 1\.00 km \(1,000 m\), cell 21/);
    assert.match(testo, /left: kind 1, aspects 4 1 0/);
    assert.equal(await pagina.$eval('#tooltip-fonte', (e) => e.textContent), `${TRENO}:61`);
    // The cell inspector follows the pointer.
    assert.match(await pagina.$eval('#ispettore', (e) => e.textContent), /speed limit/);
    await schermata(pagina, 'signal-tooltip.png');
    await pagina.mouse.move(5, 5);
  });
});

describe('a scenario with an error', () => {
  let pagina;
  before(async () => {
    const dir = scenarioIncorporato();
    // A second signal at 4600 m: its cell is taken, and the compile stops there.
    modificaFile(path.join(dir, TRENO), (righe) => {
      righe.splice(63, 0, 'segnale,    4600,   2, 4, 1,  0, 0,    2,  3,1,0, 0');
      return righe;
    });
    const { file, stato } = paginaAutonoma(dir);
    assert.equal(stato, 1);
    pagina = await apri(browser, pathToFileURL(file).href);
  });
  after(async () => { await pagina.close(); });

  test('lists the error and shows where it is when clicked', async () => {
    assert.equal(await pagina.evaluate(() => window.vista.greyed), true);
    const voci = await pagina.$$('#diagnostiche .diagnostica.errore');
    assert.ok(voci.length >= 1);
    const testo = await pagina.evaluate((e) => e.textContent, voci[voci.length - 1]);
    assert.match(testo, new RegExp(`${TRENO}:64`));
    await voci[voci.length - 1].click();
    await pronta(pagina);
    const r = await intervallo(pagina);
    assert.ok(r.start <= 4600 && r.end >= 4600 && r.end - r.start <= 2000, JSON.stringify(r));
    assert.match(await pagina.$eval('#stato', (e) => e.textContent), /does not compile/);
    await schermata(pagina, 'error-diagnostic-shown.png');
  });
});

describe('the longest route, 1,000,000 m', () => {
  test('draws all of it and zooms and pans at once', async () => {
    const { file, stato } = paginaAutonoma(scenarioLungo());
    assert.equal(stato, 0);
    const pagina = await apri(browser, pathToFileURL(file).href);
    const conta = await pagina.evaluate(() => window.vista.counts());
    assert.equal(conta.stations, 50);
    assert.equal(conta.signals, 666);
    assert.equal(conta.gradients, 2000);
    await schermata(pagina, 'long-route-full-length.png');

    // Each step is one redraw, well within a frame or two even on a loaded machine.
    await pagina.focus('#binario');
    await pagina.keyboard.press('0');  // the first drawing after loading warms up
    await pronta(pagina);
    const passi = [];
    for (const tasto of ['+', '+', '+', 'ArrowRight', 'ArrowRight', '-', '-', '-', '0']) {
      await pagina.keyboard.press(tasto);
      await pronta(pagina);
      passi.push(await pagina.evaluate(() => window.vista.lastDrawMs));
    }
    const media = passi.reduce((a, b) => a + b) / passi.length;
    assert.ok(media < 40, `the drawings took ${passi.map((t) => t.toFixed(1)).join(', ')} ms`);
    console.log(`# drawings of the long route: ${passi.map((t) => t.toFixed(1)).join(', ')} ms`);
    assert.deepEqual(pagina.erroriPagina, []);
    await pagina.close();
  });
});
