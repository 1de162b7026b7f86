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
  await pagina.waitForFunction(() => window.vista && window.vista.ready, { timeout: 10000, polling: 50 });
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
