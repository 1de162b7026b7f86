// What the browser tests share: the programs, scratch scenario folders,
// headless Chromium launched for a machine without network, and waiting on
// the page's read-only hook (window.vista).
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import puppeteer from 'puppeteer-core';

const qui = path.dirname(fileURLToPath(import.meta.url));
export const radice = path.resolve(qui, '..', '..');
export const strumento = process.env.SCENARIO_TOOL || path.join(radice, 'build', 'bin', 'scenario_tool');
export const cartellaSchermate = process.env.GS_SCREENSHOTS || path.join(radice, 'build', 'screenshots');
const chromium = process.env.CHROMIUM || '/usr/bin/chromium';

export const LINEA = 'Brisca_Nolte_linea.txt';
export const TRENO = 'Brisca_Nolte_52806-.txt';

// Runs scenario_tool; returns its status and output.
export function esegui(argomenti) {
  const r = spawnSync(strumento, argomenti, { encoding: 'latin1' });
  if (r.error) throw r.error;
  return { stato: r.status, uscita: r.stdout, errori: r.stderr };
}

// A fresh folder, removed when the process ends.
export function cartellaTemporanea() {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'vista-'));
  process.on('exit', () => fs.rmSync(dir, { recursive: true, force: true }));
  return dir;
}

// A folder holding the embedded scenario's description files.
export function scenarioIncorporato() {
  const dir = path.join(cartellaTemporanea(), 'scenario');
  const r = esegui(['init', dir]);
  if (r.stato !== 0) throw new Error('init failed: ' + r.errori);
  return dir;
}

// The lines of a description file (Windows-1252 kept byte for byte), changed
// by `cambia`, written back with CR LF.
export function modificaFile(percorso, cambia) {
  const righe = fs.readFileSync(percorso, 'latin1').split('\r\n');
  fs.writeFileSync(percorso, cambia(righe).join('\r\n'), 'latin1');
}

// The viewer as one file, for the scenario in `dir`.
export function paginaAutonoma(dir) {
  const file = path.join(path.dirname(dir), path.basename(dir) + '.html');
  const r = esegui(['plot', dir, '--html', '-o', file]);
  if (!fs.existsSync(file)) throw new Error('plot --html wrote nothing: ' + r.errori);
  return { file, stato: r.stato };
}

export async function avviaBrowser() {
  const profilo = fs.mkdtempSync(path.join(os.tmpdir(), 'vista-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: chromium,
    headless: true,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      '--user-data-dir=' + profilo],
    defaultViewport: { width: 1400, height: 950 },
  });
  const chiudi = browser.close.bind(browser);
  browser.close = async () => {
    await chiudi();
    fs.rmSync(profilo, { recursive: true, force: true });
  };
  return browser;
}

// Opens `url` in a new page and waits for the first drawing; page errors fail.
export async function apri(browser, url) {
  const pagina = await browser.newPage();
  const errori = [];
  pagina.on('pageerror', (e) => errori.push(e.message));
  pagina.erroriPagina = errori;
  await pagina.goto(url);
  await pronta(pagina);
  return pagina;
}

// Waits until the page has drawn everything asked of it.
export async function pronta(pagina) {
  await pagina.waitForFunction(() => window.vista && window.vista.ready, { timeout: 30000, polling: 50 });
}

export async function intervallo(pagina) {
  return pagina.evaluate(() => window.vista.visibleRange());
}

export async function schermata(pagina, nome) {
  fs.mkdirSync(cartellaSchermate, { recursive: true });
  const file = path.join(cartellaSchermate, nome);
  await pagina.screenshot({ path: file });
  return file;
}

// A scenario of the longest route, 1,000,000 m, with features all along it:
// 50 stations, a signal every 1.5 km, a gradient every 500 m, curves, boards,
// slowdowns, signs and mountains.
export function scenarioLungo() {
  const dir = path.join(cartellaTemporanea(), 'lungo');
  fs.mkdirSync(dir);
  const linea = ['Lunga', '[generale]', 'lunghezza percorso, 1000000'];
  for (const n of ['uno', 'due', 'tre']) linea.push(`progressiva chilometrica ${n}, 0, 0, 0`);
  linea.push('sfondo uno, 1', 'sfondo due, 0', 'sfondo tre, 0', 'ripetizione segnali 4 codici, 0, 0', '[pendenze]');
  for (let p = 0; p < 1000000; p += 500) linea.push(`pendenza, ${p}, ${(p / 500) % 9 - 4}`);
  linea.push('[curve]');
  for (let p = 500; p < 1000000; p += 2000) linea.push(`curva${Math.floor(p / 2000) % 2 ? 's' : 'd'}3, ${p}, 300`);
  linea.push('[cartelli]');
  for (let p = 5800; p < 1000000; p += 10000) linea.push(`indicatori_vmax, ${p}, 120, 130, 140, 0, 0, 0, 0, 0`);
  linea.push('[montagne]');
  for (let p = 30000; p < 1000000; p += 50000) linea.push(`montagna, ${p}, ${p + 300}, 1`);
  linea.push('[indicazioni]');
  for (let p = 25100; p < 1000000; p += 40000) linea.push(`cartello indicatore, ${p}, (  Km. ) (${(p / 1000).toFixed(3)})`);
  linea.push('[fine]');

  const treno = ['Treno', '[generale]', 'numero vetture, 6', 'percentuale massa frenata, 120', 'sabbia, 300',
    'orologio, 6, 0, 0', '[aderenze]', 'aderenza, 0, 75', '[vel_limite]'];
  for (let p = 0; p < 1000000; p += 3000) treno.push(`velocita' limite, ${p}, ${80 + ((p / 3000) % 9) * 10}`);
  treno.push('[stazioni]');
  for (let i = 0; i < 50; i++) {
    const minuti = 6 * 60 + i * 10;
    treno.push(`stazione, ${i * 20000}, ${i === 0 ? 8 : 2}, 400, ${i === 0 || i === 49 ? 1 : 0}, 0, 0, 0,0,0, 0,0,0, 30, ` +
      `${Math.floor(minuti / 60)}, ${minuti % 60}, 0, STAZIONE ${i + 1}`);
  }
  treno.push('[rallentamenti]');
  for (let x = 12100; x < 1000000; x += 30000) treno.push(`rallentamento, ${x}, 30, 500, 0, 1, 0`);
  treno.push('[segnali]');
  for (let p = 1000; p < 1000000; p += 1500) treno.push(`segnale, ${p}, 2, 4, 1, 0, 0, 2, 3, 1, 0, 0`);
  treno.push('[fine]');
  fs.writeFileSync(path.join(dir, 'Lunga_linea.txt'), linea.join('\r\n') + '\r\n', 'latin1');
  fs.writeFileSync(path.join(dir, 'Lunga_1-.txt'), treno.join('\r\n') + '\r\n', 'latin1');
  return dir;
}
