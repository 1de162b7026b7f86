// The viewer served by `scenario_tool serve`: a saved edit shows within two
// seconds, keeping the view; a request naming a foreign host is refused.
// Skipped, saying so, where this scenario_tool has no `serve`.
import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import http from 'node:http';
import net from 'node:net';
import path from 'node:path';
import { after, before, describe, test } from 'node:test';
import {
  LINEA, TRENO, apri, avviaBrowser, esegui, intervallo, modificaFile, pronta, scenarioIncorporato,
  schermata, strumento,
} from './aiuti.mjs';

const senzaServe = esegui(['serve', '--help']).stato !== 0
  ? 'this scenario_tool has no `serve` command (scenario_tool serve --help failed)' : false;

// A port free a moment ago.
function portaLibera() {
  return new Promise((risolvi, rifiuta) => {
    const s = net.createServer();
    s.on('error', rifiuta);
    s.listen(0, '127.0.0.1', () => {
      const { port } = s.address();
      s.close(() => risolvi(port));
    });
  });
}

// Starts `serve DIR`; resolves with the address its first line of output gives.
async function avviaServer(dir) {
  const porta = await portaLibera();
  const processo = spawn(strumento, ['serve', dir, '--port', String(porta)], { stdio: ['ignore', 'pipe', 'pipe'] });
  return new Promise((risolvi, rifiuta) => {
    let uscita = '';
    const scadenza = setTimeout(() => rifiuta(new Error('serve gave no address: ' + uscita)), 10000);
    processo.stdout.setEncoding('utf8');
    processo.stdout.on('data', (pezzo) => {
      uscita += pezzo;
      const trovato = /http:\/\/127\.0\.0\.1:(\d+)\//.exec(uscita);
      if (!trovato) return;
      clearTimeout(scadenza);
      risolvi({ processo, porta: Number(trovato[1]), indirizzo: trovato[0] });
    });
    processo.on('exit', (stato) => rifiuta(new Error('serve ended with status ' + stato + ': ' + uscita)));
  });
}

function richiesta(porta, host) {
  return new Promise((risolvi, rifiuta) => {
    const r = http.request({ host: '127.0.0.1', port: porta, path: '/', headers: { Host: host } }, (risposta) => {
      risposta.resume();
      risolvi(risposta.statusCode);
    });
    r.on('error', rifiuta);
    r.end();
  });
}

describe('the viewer served live', { skip: senzaServe }, () => {
  let browser, server, dir, pagina;
  before(async () => {
    dir = scenarioIncorporato();
    server = await avviaServer(dir);
    browser = await avviaBrowser();
    pagina = await apri(browser, server.indirizzo);
  });
  after(async () => {
    await browser?.close();
    server?.processo.kill();
  });

  test('a saved edit redraws the page within two seconds and keeps the view', async () => {
    await pagina.focus('#binario');
    // The first 20 km or so in view.
    for (let i = 0; i < 3; i++) await pagina.keyboard.press('+');
    for (let i = 0; i < 10; i++) await pagina.keyboard.press('ArrowLeft');
    await pronta(pagina);
    const vista = await intervallo(pagina);
    assert.equal(vista.start, 0);
    const generazione = await pagina.evaluate(() => window.vista.generation);
    const segnali = (await pagina.evaluate(() => window.vista.counts())).signals;

    const inizio = Date.now();
    // The signal at 1000 m goes.
    modificaFile(path.join(dir, TRENO), (righe) => righe.filter((r) => !r.startsWith('segnale,   1000,')));
    await pagina.waitForFunction((n) => window.vista.ready && window.vista.counts().signals === n,
      { timeout: 2000, polling: 50 }, segnali - 1);
    assert.ok(Date.now() - inizio <= 2000);
    assert.notEqual(await pagina.evaluate(() => window.vista.generation), generazione);
    assert.deepEqual(await intervallo(pagina), vista);
  });

  test('an edit that breaks the scenario shows the error over the last good drawing, greyed', async () => {
    modificaFile(path.join(dir, LINEA), (righe) => righe.map((r) => (r.startsWith('lunghezza percorso') ? 'lunghezza percorso, 2000000' : r)));
    await pagina.waitForFunction(() => window.vista.ready && window.vista.greyed, { timeout: 2000, polling: 50 });
    assert.ok((await pagina.evaluate(() => window.vista.counts())).stations > 0, 'the last good drawing stays');
    assert.match(await pagina.$eval('#stato', (e) => e.textContent), /does not compile/);
    assert.ok((await pagina.$$('#diagnostiche .diagnostica.errore')).length >= 1);
    await schermata(pagina, 'served-error-greyed.png');
  });

  test('a request naming a foreign host is refused', async () => {
    assert.equal(await richiesta(server.porta, '127.0.0.1:' + server.porta), 200);
    assert.equal(await richiesta(server.porta, 'evil.example:' + server.porta), 403);
  });
});
