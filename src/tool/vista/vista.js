// The scenario viewer: the model (embedded in the page, or fetched from the
// server and fetched again on each change it announces) drawn on two canvases,
// the plan of the line above and the track along the kilometres below, with
// zoom, pan, tooltips, the diagnostics and a cell inspector.
(function () {
  'use strict';

  const $ = (id) => document.getElementById(id);

  // ---- Layout of the track view (CSS pixels) -------------------------------

  const SINISTRA = 104;   // lane captions stand before this
  const DESTRA = 14;      // room after the plot area
  const ALTO = 8;
  const SPAZIO = 4;       // between lanes
  const ASSE = 34;        // the km axis band at the bottom
  const CAMPATA_MINIMA = 100;  // the narrowest view: two 50 m cells
  const METRI_CELLA = 50;

  const CORSIE = [
    { id: 'stations', nome: 'Stations', h: 52 },
    { id: 'signals', nome: 'Signals', h: 26 },
    { id: 'boards', nome: 'Speed boards', h: 32 },
    { id: 'slowdowns', nome: 'Slowdowns', h: 30 },
    { id: 'markers', nome: 'Markers', h: 20 },
    { id: 'signs', nome: 'Signs', h: 40 },
    { id: 'mountains', nome: 'Mountain', h: 16 },
    { id: 'speed_limits', nome: 'Speed limit', h: 104, diagramma: true, unita: 'km/h', chiave: 'kmh' },
    { id: 'gradients', nome: 'Gradient', h: 84, diagramma: true, unita: '\u2030', chiave: 'per_mille' },
    { id: 'adhesion', nome: 'Adhesion', h: 40, diagramma: true, unita: '', chiave: 'value' },
  ];
  (function () {
    let y = ALTO;
    for (const c of CORSIE) {
      c.alto = y;
      c.basso = y + c.h;
      y = c.basso + SPAZIO;
    }
  })();
  const FONDO_CORSIE = CORSIE[CORSIE.length - 1].basso;

  const COLORI = {
    stations: '#2f6db5', signals: '#c62828', boards: '#6b4fa0', slowdowns: '#e08a00',
    markers: '#444', signs: '#2e7d32', mountains: '#8d6e63', speed_limits: '#1f5fbf',
    salita: '#c0504d', discesa: '#4f81bd', adhesion: '#666', griglia: '#e4e4df',
    celle: '#f0f0ea', evidenza: '#ff00aa',
  };

  // ---- State -----------------------------------------------------------------

  const stato = {
    modello: null,     // the latest model
    buono: null,       // the latest model that compiled
    inizio: 0,         // the view, in metres
    fine: 1000,
    generazione: 0,
    puntatore: null,   // metre under the pointer
    evidenza: null,    // the feature a diagnostic pointed at
    disegnati: {},     // kind -> features drawn in the last frame
    zone: [],          // hover targets of the last frame
    trascina: null,
    richiesta: false,
    pronto: false,
    durata: 0,         // of the last drawing, in milliseconds
  };

  // ---- Formatting ------------------------------------------------------------

  const migliaia = (n) => Math.round(n).toLocaleString('en-US');
  const km = (m) => (m / 1000).toFixed(m % 10 === 0 ? 2 : 3) + ' km';
  const dove = (m) => km(m) + ' (' + migliaia(m) + ' m)';
  const fonte = (d) => (d && d.file ? d.file + ':' + d.line : '');

  function testoCaratteristica(f) {
    const d = f.dati;
    switch (f.tipo) {
      case 'stations':
        return d.name + '\nstation at ' + dove(d.position) + '\nstop zone ' + migliaia(d.stop_start) +
          ' – ' + migliaia(d.stop_end) + ' m\nscheduled ' + d.time + ', kind ' + d.kind +
          ', stop ' + d.stop_seconds + ' s';
      case 'signals':
        return 'Signal at ' + dove(d.position) + ', cell ' + d.cell +
          '\nleft: kind ' + d.left.kind + ', aspects ' + d.left.aspects.join(' ') +
          '\nright: kind ' + d.right.kind + ', aspects ' + d.right.aspects.join(' ') +
          '\nrapp ' + d.rapp + (d.time ? ', time ' + d.time : '');
      case 'boards': {
        const lato = (v) => (v.every((x) => x === 0) ? 'none' : v.join(' / ') + ' km/h');
        return 'Speed board at ' + dove(d.position) + ', cell ' + d.cell +
          '\nleft A/B/C: ' + lato(d.left_kmh) + '\nright A/B/C: ' + lato(d.right_kmh) +
          '\nstripes ' + d.stripes_left + ' / ' + d.stripes_right;
      }
      case 'slowdowns':
        return 'Slowdown to ' + d.speed_kmh + ' km/h\nfrom ' + dove(d.start) + ' to ' + dove(d.end) +
          ' (' + migliaia(d.end - d.start) + ' m)\n' +
          (d.warning !== null ? 'warning board at ' + dove(d.warning) : 'no warning board');
      case 'markers':
        return 'Abbattimento marker at ' + dove(d.position) + ', cell ' + d.cell +
          (d.value !== null ? '\nvalue ' + d.value : '\nwithout value') +
          (d.placed_by_compiler ? '\nplaced by the compile' : '');
      case 'signs':
        return 'Sign at ' + dove(d.position) + ', cell ' + d.cell + '\n' + (d.text || '');
      case 'mountains':
        return 'Mountain stretch, kind ' + d.kind + '\nfrom ' + dove(d.start) + ' to ' + dove(d.end);
      case 'speed_limits':
        return 'Speed limit ' + d.kmh + ' km/h\nfrom ' + dove(d.from) + ' to ' + dove(d.to);
      case 'gradients':
        return 'Gradient ' + (d.per_mille > 0 ? '+' : '') + d.per_mille + ' \u2030\nfrom ' +
          dove(d.from) + ' to ' + dove(d.to);
      case 'adhesion':
        return 'Adhesion ' + d.value + '\nfrom ' + dove(d.from) + ' to ' + dove(d.to);
      default:
        return '';
    }
  }

  // ---- The model -------------------------------------------------------------

  // Each kind of feature as a list of {tipo, da, a, pos, dati}, in track order.
  function prepara(m) {
    const f = {};
    const aggiungi = (tipo, lista, da, a, pos) => {
      f[tipo] = (lista || []).map((d) => ({ tipo, da: da(d), a: a(d), pos: pos(d), dati: d }))
        .sort((x, y) => x.da - y.da);
    };
    aggiungi('stations', m.stations, (d) => d.stop_start, (d) => d.stop_end, (d) => d.position);
    for (const tipo of ['signals', 'boards', 'markers', 'signs']) {
      aggiungi(tipo, m[tipo], (d) => d.position, (d) => d.position, (d) => d.position);
    }
    aggiungi('slowdowns', m.slowdowns, (d) => (d.warning !== null ? d.warning : d.start), (d) => d.end,
      (d) => d.start);
    aggiungi('mountains', m.mountains, (d) => d.start, (d) => d.end, (d) => d.start);
    for (const tipo of ['speed_limits', 'gradients', 'adhesion']) {
      aggiungi(tipo, m[tipo], (d) => d.from, (d) => d.to, (d) => d.from);
    }
    m.caratteristiche = f;
    m.lunghezza = Math.max(m.track_length || 0, m.route_length || 0, 1000);
    const massimo = (lista, chiave, minimo) => lista.reduce((x, r) => Math.max(x, Math.abs(r.dati[chiave])), minimo);
    m.scale = {
      speed_limits: [0, passoTondo(massimo(f.speed_limits, 'kmh', 40) * 1.1, 20)],
      gradients: (() => { const g = passoTondo(massimo(f.gradients, 'per_mille', 4) * 1.15, 2); return [-g, g]; })(),
      adhesion: [0, passoTondo(massimo(f.adhesion, 'value', 50) * 1.2, 25)],
    };
    return m;
  }

  function passoTondo(valore, passo) { return Math.max(passo, Math.ceil(valore / passo) * passo); }

  function modelloDisegnato() {
    if (stato.modello && !stato.modello.compile.ok && stato.buono) return stato.buono;
    return stato.modello;
  }
  // The drawing is greyed when it is not of a scenario that compiled.
  function grigio() { return !!stato.modello && !stato.modello.compile.ok; }

  function applica(m) {
    prepara(m);
    const primo = !stato.modello;
    stato.modello = m;
    if (m.compile.ok) stato.buono = m;
    const L = modelloDisegnato().lunghezza;
    if (primo) {
      stato.inizio = 0;
      stato.fine = L;
    } else {
      imposta(stato.inizio, stato.fine, true);
    }
    stato.evidenza = null;
    aggiornaTestata();
    aggiornaDiagnostiche();
    stato.pronto = true;
    richiediDisegno();
  }

  // ---- The view --------------------------------------------------------------

  function lunghezza() { const m = modelloDisegnato(); return m ? m.lunghezza : 1000; }

  function imposta(inizio, fine, senzaDisegno) {
    const L = lunghezza();
    let campata = Math.min(Math.max(fine - inizio, CAMPATA_MINIMA), L);
    let da = Math.min(Math.max(inizio, 0), L - campata);
    if (!isFinite(da)) da = 0;
    if (!isFinite(campata) || campata <= 0) campata = L;
    stato.inizio = da;
    stato.fine = da + campata;
    if (!senzaDisegno) richiediDisegno();
  }

  function zoom(fattore, centro) {
    const c = centro === undefined ? (stato.inizio + stato.fine) / 2 : centro;
    imposta(c - (c - stato.inizio) * fattore, c + (stato.fine - c) * fattore);
  }

  function sposta(frazione) {
    const d = (stato.fine - stato.inizio) * frazione;
    imposta(stato.inizio + d, stato.fine + d);
  }

  // ---- Canvases --------------------------------------------------------------

  const tela = $('binario');
  const telaPianta = $('pianta');

  function prepara2d(c) {
    const r = c.getBoundingClientRect();
    const dpr = window.devicePixelRatio || 1;
    const w = Math.max(1, Math.round(r.width * dpr));
    const h = Math.max(1, Math.round(r.height * dpr));
    if (c.width !== w || c.height !== h) { c.width = w; c.height = h; }
    const ctx = c.getContext('2d');
    ctx.setTransform(dpr, 0, 0, dpr, 0, 0);
    ctx.clearRect(0, 0, r.width, r.height);
    return { ctx, w: r.width, h: r.height };
  }

  // The plot area's width, measured once a drawing: xDi runs thousands of times.
  let larghezzaTela = 0;
  function larghezzaGrafico() {
    if (larghezzaTela === 0) larghezzaTela = tela.getBoundingClientRect().width;
    return Math.max(50, larghezzaTela - SINISTRA - DESTRA);
  }
  function xDi(m) { return SINISTRA + (m - stato.inizio) / (stato.fine - stato.inizio) * larghezzaGrafico(); }
  function mDi(x) { return stato.inizio + (x - SINISTRA) / larghezzaGrafico() * (stato.fine - stato.inizio); }

  function richiediDisegno() {
    if (stato.richiesta) return;
    stato.richiesta = true;
    requestAnimationFrame(() => {
      stato.richiesta = false;
      disegna();
    });
  }

  function visibili(lista) {
    const margine = (stato.fine - stato.inizio) * 0.01;
    return lista.filter((f) => f.a >= stato.inizio - margine && f.da <= stato.fine + margine);
  }

  // The km axis step: a round number of metres at least `pixel` apart.
  function passoAsse(pixel) {
    const mpp = (stato.fine - stato.inizio) / larghezzaGrafico();
    for (const p of [50, 100, 200, 250, 500, 1000, 2000, 2500, 5000, 10000, 20000, 25000, 50000, 100000, 200000, 250000, 500000]) {
      if (p / mpp >= pixel) return p;
    }
    return 1000000;
  }

  // Labels in the first of `righe` rows where they clear the one before.
  function posaEtichette(ctx, etichette, righe, limite) {
    const fineRiga = new Array(righe).fill(-Infinity);
    const posate = [];
    for (const e of etichette) {
      const w = ctx.measureText(e.testo).width;
      const x = Math.min(Math.max(e.x - 2, SINISTRA - 30), limite - w);
      for (let r = 0; r < righe; r++) {
        if (x < fineRiga[r] + 6) continue;
        fineRiga[r] = x + w;
        posate.push({ x, punta: e.x, riga: r, testo: e.testo, f: e.f });
        break;
      }
    }
    return posate;
  }

  function disegna() {
    const inizio = performance.now();
    disegnaBinario();
    disegnaPianta();
    stato.durata = performance.now() - inizio;
  }

  function disegnaBinario() {
    const { ctx, w, h } = prepara2d(tela);
    larghezzaTela = w;
    stato.zone = [];
    stato.disegnati = {};
    const m = modelloDisegnato();
    if (!m) return;
    ctx.save();
    if (grigio()) ctx.filter = 'grayscale(1) opacity(0.45)';
    const destra = w - DESTRA;
    ctx.font = '11px system-ui, "DejaVu Sans", sans-serif';
    ctx.textBaseline = 'alphabetic';

    // Lane backgrounds and captions.
    for (const c of CORSIE) {
      ctx.fillStyle = c.diagramma ? '#ffffff' : '#fbfbf8';
      ctx.fillRect(SINISTRA, c.alto, destra - SINISTRA, c.h);
      ctx.fillStyle = '#555';
      if (c.diagramma) {
        ctx.textAlign = 'left';
        ctx.fillText(c.nome, 8, c.alto + 12);
      } else {
        ctx.textAlign = 'right';
        ctx.fillText(c.nome, SINISTRA - 8, (c.alto + c.basso) / 2 + 4);
      }
    }
    ctx.textAlign = 'left';

    // The cells, once they are wide enough to see; the km grid.
    const mpp = (stato.fine - stato.inizio) / larghezzaGrafico();
    if (METRI_CELLA / mpp >= 8) {
      ctx.fillStyle = COLORI.celle;
      const prima = Math.floor(stato.inizio / METRI_CELLA);
      for (let k = prima; k * METRI_CELLA <= stato.fine; k++) {
        if (k % 2 === 0) continue;
        const x0 = Math.max(SINISTRA, xDi(k * METRI_CELLA));
        const x1 = Math.min(destra, xDi((k + 1) * METRI_CELLA));
        if (x1 > x0) ctx.fillRect(x0, ALTO, x1 - x0, FONDO_CORSIE - ALTO);
      }
    }
    const passo = passoAsse(95);
    ctx.strokeStyle = COLORI.griglia;
    ctx.lineWidth = 1;
    ctx.beginPath();
    for (let t = Math.ceil(stato.inizio / passo) * passo; t <= stato.fine; t += passo) {
      const x = Math.round(xDi(t)) + 0.5;
      ctx.moveTo(x, ALTO);
      ctx.lineTo(x, FONDO_CORSIE);
    }
    ctx.stroke();

    ctx.save();
    ctx.beginPath();
    ctx.rect(SINISTRA - 40, 0, destra - SINISTRA + 40, h);
    ctx.clip();
    disegnaStazioni(ctx, m, destra);
    disegnaSegnali(ctx, m);
    disegnaIndicatori(ctx, m, destra);
    disegnaRallentamenti(ctx, m, destra);
    disegnaAbbattimenti(ctx, m);
    disegnaCartelli(ctx, m, destra);
    disegnaMontagne(ctx, m);
    ctx.restore();
    for (const c of CORSIE) if (c.diagramma) disegnaDiagramma(ctx, m, c, destra);
    disegnaAsse(ctx, passo, destra);
    disegnaEvidenza(ctx);
    ctx.restore();

    if (grigio()) {
      ctx.fillStyle = '#b3261e';
      ctx.font = '600 13px system-ui, "DejaVu Sans", sans-serif';
      ctx.textAlign = 'center';
      ctx.fillText(stato.buono ? 'The scenario does not compile: the last good drawing, greyed'
        : 'The scenario does not compile: what was read before the error, greyed',
      (SINISTRA + destra) / 2, Math.min(h - 4, FONDO_CORSIE + ASSE + 14));
    }
    disegnaPuntatore(ctx);
    disegnaSelezione(ctx);
    $('intervallo').textContent = km(Math.round(stato.inizio)) + ' – ' + km(Math.round(stato.fine)) +
      '  (' + migliaia(stato.fine - stato.inizio) + ' m in view)';
  }

  function zona(f, x0, x1, y0, y1) {
    stato.zone.push({ f, x0: Math.min(x0, x1), x1: Math.max(x0, x1), y0, y1 });
  }

  function segnaDisegnati(tipo, lista) { stato.disegnati[tipo] = lista; }

  function disegnaStazioni(ctx, m, destra) {
    const c = CORSIE[0];
    const lista = visibili(m.caratteristiche.stations);
    segnaDisegnati('stations', lista);
    const barra = c.basso - 13;
    const etichette = [];
    for (const f of lista) {
      const x0 = xDi(f.da), x1 = Math.max(xDi(f.a), x0 + 2);
      ctx.fillStyle = COLORI.stations;
      ctx.fillRect(x0, barra, x1 - x0, 10);
      const xp = xDi(f.pos);
      ctx.fillStyle = '#123';
      ctx.fillRect(xp - 0.5, barra - 3, 1.5, 16);
      zona(f, x0 - 3, x1 + 3, c.alto, c.basso);
      etichette.push({ x: xp, testo: f.dati.name, f });
    }
    ctx.font = '600 11px system-ui, "DejaVu Sans", sans-serif';
    etichette.sort((a, b) => a.x - b.x);
    disegnaEtichette(ctx, posaEtichette(ctx, etichette, 3, destra), c.alto + 10, 12, barra, '#1b3b66');
    ctx.font = '11px system-ui, "DejaVu Sans", sans-serif';
  }

  function disegnaEtichette(ctx, posate, primaRiga, interlinea, piede, colore) {
    ctx.strokeStyle = '#bbb';
    ctx.lineWidth = 1;
    ctx.beginPath();
    for (const e of posate) {
      const y = primaRiga + interlinea * e.riga;
      ctx.moveTo(Math.round(e.punta) + 0.5, y + 2);
      ctx.lineTo(Math.round(e.punta) + 0.5, piede);
    }
    ctx.stroke();
    ctx.fillStyle = colore;
    for (const e of posate) {
      const y = primaRiga + interlinea * e.riga;
      ctx.fillText(e.testo, e.x, y);
      if (e.f) zona(e.f, e.x, e.x + ctx.measureText(e.testo).width, y - 10, y + 2);
    }
  }

  // One path for the masts and one for each colour of light: a long line has
  // hundreds of signals in view.
  function disegnaSegnali(ctx, m) {
    const c = CORSIE[1];
    const lista = visibili(m.caratteristiche.signals);
    segnaDisegnati('signals', lista);
    const aste = new Path2D(), rosse = new Path2D(), verdi = new Path2D(), destre = new Path2D();
    let ultimo = -Infinity;
    for (const f of lista) {
      const x = Math.round(xDi(f.pos)) + 0.5;
      zona(f, x - 5, x + 5, c.alto, c.basso);
      if (x - ultimo < 2) continue;
      ultimo = x;
      aste.moveTo(x, c.basso - 2);
      aste.lineTo(x, c.alto + 8);
      const luce = f.dati.left.kind === 2 ? rosse : verdi;
      luce.moveTo(x + 3.6, c.alto + 7);
      luce.arc(x, c.alto + 7, 3.6, 0, Math.PI * 2);
      if (f.dati.right.kind !== 0) destre.rect(x + 2, c.alto + 12, 4, 2);
    }
    ctx.strokeStyle = '#333';
    ctx.lineWidth = 1.2;
    ctx.stroke(aste);
    ctx.fillStyle = COLORI.signals;
    ctx.fill(rosse);
    ctx.fillStyle = '#2e7d32';
    ctx.fill(verdi);
    ctx.fillStyle = '#555';
    ctx.fill(destre);
  }

  function disegnaIndicatori(ctx, m, destra) {
    const c = CORSIE[2];
    const lista = visibili(m.caratteristiche.boards);
    segnaDisegnati('boards', lista);
    const etichette = [];
    let ultimo = -Infinity;
    for (const f of lista) {
      const x = xDi(f.pos);
      zona(f, x - 5, x + 5, c.basso - 10, c.basso);
      etichette.push({ x, testo: f.dati.left_kmh.filter((v) => v > 0).join('/'), f });
      if (x - ultimo < 2) continue;
      ultimo = x;
      ctx.fillStyle = COLORI.boards;
      ctx.fillRect(x - 3, c.basso - 9, 7, 7);
    }
    ctx.font = '10px system-ui, "DejaVu Sans", sans-serif';
    disegnaEtichette(ctx, posaEtichette(ctx, etichette, 2, destra), c.alto + 9, 10, c.basso - 9, '#4a3570');
    ctx.font = '11px system-ui, "DejaVu Sans", sans-serif';
  }

  function disegnaRallentamenti(ctx, m, destra) {
    const c = CORSIE[3];
    const lista = visibili(m.caratteristiche.slowdowns);
    segnaDisegnati('slowdowns', lista);
    const etichette = [];
    for (const f of lista) {
      const d = f.dati;
      const x0 = xDi(d.start), x1 = Math.max(xDi(d.end), x0 + 2.5);
      ctx.fillStyle = COLORI.slowdowns;
      ctx.fillRect(x0, c.basso - 12, x1 - x0, 8);
      zona(f, x0 - 2, x1 + 2, c.basso - 14, c.basso);
      if (d.warning !== null) {
        const xa = xDi(d.warning);
        ctx.fillStyle = '#b36b00';
        ctx.beginPath();
        ctx.moveTo(xa, c.basso - 12);
        ctx.lineTo(xa - 4, c.basso - 3);
        ctx.lineTo(xa + 4, c.basso - 3);
        ctx.closePath();
        ctx.fill();
        zona(f, xa - 5, xa + 5, c.basso - 14, c.basso);
      }
      etichette.push({ x: x0, testo: d.speed_kmh + ' km/h', f });
    }
    ctx.font = '10px system-ui, "DejaVu Sans", sans-serif';
    disegnaEtichette(ctx, posaEtichette(ctx, etichette, 1, destra), c.alto + 10, 10, c.basso - 12, '#7a4b00');
    ctx.font = '11px system-ui, "DejaVu Sans", sans-serif';
  }

  function disegnaAbbattimenti(ctx, m) {
    const c = CORSIE[4];
    const lista = visibili(m.caratteristiche.markers);
    segnaDisegnati('markers', lista);
    const y = (c.alto + c.basso) / 2;
    for (const f of lista) {
      const x = xDi(f.pos);
      zona(f, x - 5, x + 5, c.alto, c.basso);
      ctx.beginPath();
      ctx.moveTo(x, y - 5); ctx.lineTo(x + 5, y); ctx.lineTo(x, y + 5); ctx.lineTo(x - 5, y);
      ctx.closePath();
      if (f.dati.value !== null) { ctx.fillStyle = COLORI.markers; ctx.fill(); }
      else { ctx.strokeStyle = COLORI.markers; ctx.lineWidth = 1.2; ctx.stroke(); }
    }
  }

  function disegnaCartelli(ctx, m, destra) {
    const c = CORSIE[5];
    const lista = visibili(m.caratteristiche.signs);
    segnaDisegnati('signs', lista);
    const etichette = [];
    for (const f of lista) {
      const x = xDi(f.pos);
      ctx.fillStyle = COLORI.signs;
      ctx.fillRect(x - 3, c.basso - 8, 7, 6);
      zona(f, x - 5, x + 5, c.basso - 10, c.basso);
      etichette.push({ x, testo: (f.dati.text || '').replace(/\s+/g, ' ').trim(), f });
    }
    ctx.font = '10px system-ui, "DejaVu Sans", sans-serif';
    disegnaEtichette(ctx, posaEtichette(ctx, etichette, 3, destra), c.alto + 9, 10, c.basso - 8, '#245f27');
    ctx.font = '11px system-ui, "DejaVu Sans", sans-serif';
  }

  function disegnaMontagne(ctx, m) {
    const c = CORSIE[6];
    const lista = visibili(m.caratteristiche.mountains);
    segnaDisegnati('mountains', lista);
    for (const f of lista) {
      const x0 = xDi(f.da), x1 = Math.max(xDi(f.a), x0 + 2.5);
      ctx.fillStyle = f.dati.kind === 3 ? '#5d4037' : COLORI.mountains;
      ctx.fillRect(x0, c.alto + 3, x1 - x0, c.h - 6);
      zona(f, x0 - 2, x1 + 2, c.alto, c.basso);
    }
  }

  function disegnaDiagramma(ctx, m, c, destra) {
    const lista = visibili(m.caratteristiche[c.id]);
    segnaDisegnati(c.id, lista);
    const [minimo, massimo] = m.scale[c.id];
    const alto = c.alto + 16, basso = c.basso - 4;
    const y = (v) => basso - (v - minimo) / (massimo - minimo) * (basso - alto);
    // Scale: a few values with their grid lines.
    const passi = c.id === 'gradients' ? [minimo, minimo / 2, 0, massimo / 2, massimo]
      : c.id === 'adhesion' ? [minimo, massimo] : [minimo, (minimo + massimo) / 2, massimo];
    ctx.font = '10px system-ui, "DejaVu Sans", sans-serif';
    ctx.textAlign = 'right';
    for (const v of passi) {
      const yy = Math.round(y(v)) + 0.5;
      ctx.strokeStyle = v === 0 && c.id === 'gradients' ? '#999' : COLORI.griglia;
      ctx.beginPath();
      ctx.moveTo(SINISTRA, yy);
      ctx.lineTo(destra, yy);
      ctx.stroke();
      ctx.fillStyle = '#777';
      ctx.fillText(String(Math.round(v * 10) / 10), SINISTRA - 6, yy + 3.5);
    }
    ctx.textAlign = 'left';
    ctx.fillText(c.unita, 8, c.alto + 26);
    ctx.textAlign = 'left';
    ctx.save();
    ctx.beginPath();
    ctx.rect(SINISTRA, c.alto, destra - SINISTRA, c.h);
    ctx.clip();
    if (c.id === 'gradients') {
      const zero = y(0);
      const salite = new Path2D(), discese = new Path2D();
      for (const f of lista) {
        const v = f.dati.per_mille;
        if (v === 0) continue;
        const x0 = xDi(f.da), x1 = Math.max(xDi(f.a), x0 + 0.5);
        (v > 0 ? salite : discese).rect(x0, Math.min(zero, y(v)), x1 - x0, Math.abs(y(v) - zero));
      }
      ctx.fillStyle = COLORI.salita;
      ctx.fill(salite);
      ctx.fillStyle = COLORI.discesa;
      ctx.fill(discese);
    } else {
      ctx.strokeStyle = c.id === 'speed_limits' ? COLORI.speed_limits : COLORI.adhesion;
      ctx.lineWidth = 1.6;
      ctx.beginPath();
      let primo = true;
      for (const f of lista) {
        const v = f.dati[c.chiave];
        const x0 = xDi(f.da), x1 = xDi(f.a);
        if (primo) { ctx.moveTo(x0, y(v)); primo = false; } else ctx.lineTo(x0, y(v));
        ctx.lineTo(x1, y(v));
      }
      ctx.stroke();
    }
    ctx.restore();
    for (const f of lista) zona(f, xDi(f.da), xDi(f.a), c.alto, c.basso);
    ctx.font = '11px system-ui, "DejaVu Sans", sans-serif';
  }

  function disegnaAsse(ctx, passo, destra) {
    const y = FONDO_CORSIE + 6;
    ctx.strokeStyle = '#444';
    ctx.lineWidth = 1;
    ctx.beginPath();
    ctx.moveTo(SINISTRA, y + 0.5);
    ctx.lineTo(destra, y + 0.5);
    const cifre = passo % 1000 === 0 ? 0 : passo % 100 === 0 ? 1 : 2;
    ctx.fillStyle = '#333';
    ctx.textAlign = 'center';
    ctx.font = '11px system-ui, "DejaVu Sans", sans-serif';
    for (let t = Math.ceil(stato.inizio / passo) * passo; t <= stato.fine; t += passo) {
      const x = Math.round(xDi(t)) + 0.5;
      ctx.moveTo(x, y);
      ctx.lineTo(x, y + 5);
      ctx.fillText((t / 1000).toFixed(cifre), x, y + 17);
    }
    ctx.stroke();
    ctx.textAlign = 'right';
    ctx.fillText('km', SINISTRA - 28, y + 17);
    ctx.textAlign = 'left';
  }

  function disegnaEvidenza(ctx) {
    const e = stato.evidenza;
    if (!e) return;
    const x0 = xDi(e.da), x1 = Math.max(xDi(e.a), x0);
    ctx.strokeStyle = COLORI.evidenza;
    ctx.lineWidth = 2;
    const corsia = CORSIE.find((c) => c.id === e.tipo);
    const y0 = corsia ? corsia.alto : ALTO, y1 = corsia ? corsia.basso : FONDO_CORSIE;
    ctx.strokeRect(x0 - 6, y0 - 1, x1 - x0 + 12, y1 - y0 + 2);
  }

  function disegnaPuntatore(ctx) {
    if (stato.puntatore === null) return;
    const x = Math.round(xDi(stato.puntatore)) + 0.5;
    if (x < SINISTRA) return;
    ctx.strokeStyle = 'rgba(200, 0, 0, 0.45)';
    ctx.lineWidth = 1;
    ctx.beginPath();
    ctx.moveTo(x, ALTO);
    ctx.lineTo(x, FONDO_CORSIE + 6);
    ctx.stroke();
  }

  function disegnaSelezione(ctx) {
    const t = stato.trascina;
    if (!t || t.modo !== 'asse') return;
    const x0 = Math.min(t.x0, t.x), x1 = Math.max(t.x0, t.x);
    ctx.fillStyle = 'rgba(47, 109, 181, 0.15)';
    ctx.fillRect(x0, ALTO, x1 - x0, FONDO_CORSIE + ASSE - ALTO);
    ctx.strokeStyle = 'rgba(47, 109, 181, 0.8)';
    ctx.strokeRect(x0 + 0.5, ALTO + 0.5, x1 - x0, FONDO_CORSIE + ASSE - ALTO);
  }

  // ---- The plan --------------------------------------------------------------

  // The plan point at metre `metri`, between the samples around it.
  function puntoPianta(p, metri) {
    const n = p.m.length;
    if (n === 0) return null;
    if (metri <= p.m[0]) return [p.x[0], p.y[0]];
    if (metri >= p.m[n - 1]) return [p.x[n - 1], p.y[n - 1]];
    let lo = 0, hi = n - 1;
    while (hi - lo > 1) { const mid = (lo + hi) >> 1; if (p.m[mid] <= metri) lo = mid; else hi = mid; }
    const t = (metri - p.m[lo]) / (p.m[hi] - p.m[lo]);
    return [p.x[lo] + (p.x[hi] - p.x[lo]) * t, p.y[lo] + (p.y[hi] - p.y[lo]) * t];
  }

  function disegnaPianta() {
    const { ctx, w, h } = prepara2d(telaPianta);
    const m = modelloDisegnato();
    ctx.font = '12px system-ui, "DejaVu Sans", sans-serif';
    ctx.fillStyle = '#555';
    ctx.fillText('Plan view (north up): the stretch in view', 10, 18);
    if (!m) return;
    const p = m.plan;
    if (!p || p.m.length === 0) {
      ctx.textAlign = 'center';
      ctx.fillText(p ? 'the line profile holds no usable point' : 'no line profile', w / 2, h / 2);
      ctx.textAlign = 'left';
      return;
    }
    ctx.save();
    if (grigio()) ctx.filter = 'grayscale(1) opacity(0.45)';
    // The stretch in view, its ends interpolated.
    const tratto = [puntoPianta(p, stato.inizio)];
    for (let i = 0; i < p.m.length; i++) {
      if (p.m[i] > stato.inizio && p.m[i] < stato.fine) tratto.push([p.x[i], p.y[i]]);
    }
    tratto.push(puntoPianta(p, stato.fine));
    let x0 = Infinity, x1 = -Infinity, y0 = Infinity, y1 = -Infinity;
    for (const [x, y] of tratto) {
      x0 = Math.min(x0, x); x1 = Math.max(x1, x); y0 = Math.min(y0, y); y1 = Math.max(y1, y);
    }
    const minimo = Math.max(60, (stato.fine - stato.inizio) * 0.15);
    const cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
    const dx = Math.max(x1 - x0, minimo), dy = Math.max(y1 - y0, minimo);
    const margine = 36;
    const scala = Math.min((w - 2 * margine) / dx, (h - 2 * margine - 16) / dy);
    const px = (x) => w / 2 + (x - cx) * scala;
    const py = (y) => h / 2 + 8 - (y - cy) * scala;
    // The whole line faint, the stretch in view strong.
    ctx.strokeStyle = '#c9c9c0';
    ctx.lineWidth = 1.5;
    ctx.beginPath();
    for (let i = 0; i < p.m.length; i++) {
      if (i === 0) ctx.moveTo(px(p.x[i]), py(p.y[i])); else ctx.lineTo(px(p.x[i]), py(p.y[i]));
    }
    ctx.stroke();
    ctx.strokeStyle = '#1f4f8f';
    ctx.lineWidth = 3;
    ctx.beginPath();
    tratto.forEach(([x, y], i) => (i === 0 ? ctx.moveTo(px(x), py(y)) : ctx.lineTo(px(x), py(y))));
    ctx.stroke();
    // Stations, named where the name touches no other.
    const occupati = [];
    ctx.font = '11px system-ui, "DejaVu Sans", sans-serif';
    for (const f of m.caratteristiche.stations) {
      const q = puntoPianta(p, f.pos);
      const x = px(q[0]), y = py(q[1]);
      if (x < -20 || x > w + 20 || y < -20 || y > h + 20) continue;
      ctx.fillStyle = COLORI.stations;
      ctx.beginPath();
      ctx.arc(x, y, 3.5, 0, Math.PI * 2);
      ctx.fill();
      const larghezza = ctx.measureText(f.dati.name).width;
      for (const aDestra of [true, false]) {
        const r = { x0: aDestra ? x + 7 : x - 7 - larghezza, y0: y - 9, y1: y + 4 };
        r.x1 = r.x0 + larghezza;
        if (r.x0 < 0 || r.x1 > w || occupati.some((o) => o.x0 < r.x1 && r.x0 < o.x1 && o.y0 < r.y1 && r.y0 < o.y1)) continue;
        occupati.push(r);
        ctx.fillStyle = '#1b3b66';
        ctx.fillText(f.dati.name, r.x0, y + 4);
        break;
      }
    }
    if (stato.puntatore !== null) {
      const q = puntoPianta(p, stato.puntatore);
      ctx.fillStyle = '#d00';
      ctx.beginPath();
      ctx.arc(px(q[0]), py(q[1]), 4.5, 0, Math.PI * 2);
      ctx.fill();
    }
    ctx.restore();
    disegnaScalaPianta(ctx, w, h, scala);
  }

  function disegnaScalaPianta(ctx, w, h, scala) {
    let metri = 1;
    for (const v of [1, 2, 5, 10, 20, 50, 100, 200, 500, 1000, 2000, 5000, 10000, 20000, 50000, 100000, 200000]) {
      if (v * scala <= 120) metri = v;
    }
    const l = metri * scala, x = w - 20 - l, y = h - 14;
    ctx.strokeStyle = '#444';
    ctx.lineWidth = 1;
    ctx.beginPath();
    ctx.moveTo(x, y - 4); ctx.lineTo(x, y); ctx.lineTo(x + l, y); ctx.lineTo(x + l, y - 4);
    ctx.stroke();
    ctx.fillStyle = '#444';
    ctx.textAlign = 'center';
    ctx.fillText(metri >= 1000 ? metri / 1000 + ' km' : metri + ' m', x + l / 2, y - 7);
    ctx.beginPath();
    ctx.moveTo(w - 24, 12); ctx.lineTo(w - 18, 28); ctx.lineTo(w - 30, 28);
    ctx.closePath();
    ctx.fill();
    ctx.fillText('N', w - 24, 42);
    ctx.textAlign = 'left';
  }

  // ---- Header and diagnostics ------------------------------------------------

  function aggiornaTestata() {
    const m = stato.modello;
    $('titolo').textContent = m.scenario.code + ' ' + m.scenario.train;
    document.title = m.scenario.code + ' ' + m.scenario.train + ' – scenario viewer';
    const s = $('stato');
    const conta = m.errors + (m.errors === 1 ? ' error, ' : ' errors, ') + m.warnings +
      (m.warnings === 1 ? ' warning' : ' warnings');
    if (m.compile.ok) {
      s.textContent = 'compiles · ' + conta;
      s.className = m.errors > 0 ? 'errore' : '';
    } else {
      const dove = m.compile.file ? ' (' + m.compile.file + (m.compile.line ? ':' + m.compile.line : '') + ')' : '';
      s.textContent = 'does not compile: ' + (m.compile.message || 'error ' + m.compile.error_code) + dove +
        (stato.buono && stato.buono !== m ? ' · showing the last good drawing' : '');
      s.className = 'errore';
    }
    s.title = s.textContent;
    document.body.classList.toggle('stantio', !m.compile.ok);
    $('conta-diagnostiche').textContent = '(' + conta + ')';
  }

  function aggiornaDiagnostiche() {
    const lista = $('diagnostiche');
    lista.textContent = '';
    const m = stato.modello;
    if (m.diagnostics.length === 0) {
      const li = document.createElement('li');
      li.className = 'vuoto';
      li.textContent = 'No problem found.';
      lista.appendChild(li);
      return;
    }
    m.diagnostics.forEach((d, i) => {
      const li = document.createElement('li');
      li.className = 'diagnostica ' + (d.severity === 'error' ? 'errore' : 'avviso');
      li.id = 'diagnostica-' + i;
      li.tabIndex = 0;
      const luogo = document.createElement('div');
      luogo.className = 'dove';
      luogo.textContent = d.file + (d.line ? ':' + d.line + (d.column ? ':' + d.column : '') : '') + ' ' + d.severity;
      const testo = document.createElement('div');
      testo.textContent = d.message + ' ';
      const codice = document.createElement('span');
      codice.className = 'codice';
      codice.textContent = '[' + d.code + ']';
      testo.appendChild(codice);
      li.append(luogo, testo);
      li.addEventListener('click', () => mostraDiagnostica(d, li));
      li.addEventListener('keydown', (e) => { if (e.key === 'Enter') mostraDiagnostica(d, li); });
      lista.appendChild(li);
    });
  }

  // Zooms to the feature of the diagnostic's line, or to its position.
  function mostraDiagnostica(d, li) {
    for (const x of document.querySelectorAll('.diagnostica.scelta')) x.classList.remove('scelta');
    if (li) li.classList.add('scelta');
    const m = modelloDisegnato();
    let trovata = null;
    if (m && d.line > 0) {
      for (const tipo of Object.keys(m.caratteristiche)) {
        trovata = m.caratteristiche[tipo].find((f) => f.dati.file === d.file && f.dati.line === d.line);
        if (trovata) break;
      }
    }
    if (trovata) {
      const margine = Math.max(600, (trovata.a - trovata.da) * 0.25);
      stato.evidenza = trovata;
      imposta(trovata.da - margine, trovata.a + margine);
    } else if (d.position !== null && d.position !== undefined) {
      stato.evidenza = { tipo: null, da: d.position, a: d.position };
      imposta(d.position - 1000, d.position + 1000);
    } else {
      stato.evidenza = null;
      richiediDisegno();
    }
  }

  // ---- Pointer: tooltip and cell inspector -----------------------------------

  function zonaSotto(x, y) {
    let migliore = null, distanza = Infinity;
    for (const z of stato.zone) {
      if (x < z.x0 - 2 || x > z.x1 + 2 || y < z.y0 || y > z.y1) continue;
      const d = Math.abs((z.x0 + z.x1) / 2 - x);
      if (d < distanza) { migliore = z; distanza = d; }
    }
    return migliore;
  }

  function mostraTooltip(f, cx, cy) {
    const t = $('tooltip');
    if (!f) { t.hidden = true; return; }
    $('tooltip-testo').textContent = testoCaratteristica(f);
    $('tooltip-fonte').textContent = fonte(f.dati) || 'no source line';
    t.hidden = false;
    const r = t.getBoundingClientRect();
    let x = cx + 14, y = cy + 14;
    if (x + r.width > window.innerWidth - 4) x = cx - r.width - 14;
    if (y + r.height > window.innerHeight - 4) y = cy - r.height - 14;
    t.style.left = Math.max(4, x) + 'px';
    t.style.top = Math.max(4, y) + 'px';
  }

  // The run of cells holding cell k.
  function cellaDi(m, k) {
    const runs = m.cells.runs;
    let lo = 0, hi = runs.length - 1;
    while (lo <= hi) {
      const mid = (lo + hi) >> 1;
      const r = runs[mid];
      if (k < r[0]) hi = mid - 1; else if (k >= r[0] + r[1]) lo = mid + 1; else return r;
    }
    return null;
  }

  function aggiornaIspettore(metri) {
    const box = $('ispettore');
    const m = modelloDisegnato();
    if (!m || metri === null) return;
    const k = Math.floor(metri / METRI_CELLA);
    const r = cellaDi(m, k);
    box.textContent = '';
    if (!r) {
      const p = document.createElement('p');
      p.className = 'vuoto';
      p.textContent = metri < 0 ? 'Before the start of the line.' : 'Beyond the end of the track.';
      box.appendChild(p);
      return;
    }
    const [, , tipo, v1, v2, v3, v4, tempo, avv, mont, vel, pend, ader] = r;
    const ultime = k >= m.cell_count - 3;
    const righe = [
      ['cell', k + '  (' + migliaia(k * METRI_CELLA) + ' – ' + migliaia(k * METRI_CELLA + 49) + ' m)'],
      ['type', tipo + ' ' + (m.cells.type_names[tipo] || 'unknown')],
      ['values', [v1, v2, v3, v4].join(', ')],
      ['signal time', tempo],
      ['approach mark', avv],
      ['mountain kind', mont],
      ['speed limit', ultime ? '– (no line data)' : vel * 5 + ' km/h'],
      ['gradient', ultime ? '–' : (pend - 100 > 0 ? '+' : '') + (pend - 100) + ' \u2030'],
      ['adhesion', ultime ? '–' : ader],
    ];
    for (const tipo of Object.keys(m.caratteristiche)) {
      for (const f of m.caratteristiche[tipo]) {
        const c = f.dati.cell;
        if (c === k) righe.push(['feature', testoCaratteristica(f).split('\n')[0] + (f.dati.file ? ' — ' + fonte(f.dati) : '')]);
      }
    }
    const tabella = document.createElement('table');
    for (const [a, b] of righe) {
      const tr = tabella.insertRow();
      tr.insertCell().textContent = a;
      tr.insertCell().textContent = String(b);
    }
    box.appendChild(tabella);
  }

  function posizioneLocale(e) {
    const r = tela.getBoundingClientRect();
    return { x: e.clientX - r.left, y: e.clientY - r.top };
  }
  function sullAsse(y) { return y > FONDO_CORSIE; }

  tela.addEventListener('mousemove', (e) => {
    const { x, y } = posizioneLocale(e);
    const t = stato.trascina;
    if (t) {
      t.x = x;
      if (t.modo === 'sposta') {
        const d = (x - t.x0) / larghezzaGrafico() * (t.fine - t.inizio);
        imposta(t.inizio - d, t.fine - d);
      } else {
        richiediDisegno();
      }
      mostraTooltip(null);
      return;
    }
    tela.classList.toggle('su-asse', sullAsse(y));
    if (x >= SINISTRA) {
      stato.puntatore = mDi(x);
      aggiornaIspettore(stato.puntatore);
    } else {
      stato.puntatore = null;
    }
    const z = zonaSotto(x, y);
    mostraTooltip(z ? z.f : null, e.clientX, e.clientY);
    richiediDisegno();
  });
  tela.addEventListener('mouseleave', () => {
    mostraTooltip(null);
    stato.puntatore = null;
    richiediDisegno();
  });
  tela.addEventListener('mousedown', (e) => {
    if (e.button !== 0) return;
    const { x, y } = posizioneLocale(e);
    stato.trascina = { modo: sullAsse(y) ? 'asse' : 'sposta', x0: x, x, inizio: stato.inizio, fine: stato.fine };
    tela.classList.add('trascina');
    tela.focus();
    e.preventDefault();
  });
  window.addEventListener('mouseup', () => {
    const t = stato.trascina;
    if (!t) return;
    stato.trascina = null;
    tela.classList.remove('trascina');
    if (t.modo === 'asse' && Math.abs(t.x - t.x0) > 4) {
      imposta(mDi(Math.min(t.x, t.x0)), mDi(Math.max(t.x, t.x0)));
    } else {
      richiediDisegno();
    }
  });
  tela.addEventListener('wheel', (e) => {
    e.preventDefault();
    const { x } = posizioneLocale(e);
    const passi = e.deltaMode === 1 ? e.deltaY / 3 : e.deltaY / 100;
    zoom(Math.pow(1.25, passi), x >= SINISTRA ? mDi(x) : undefined);
  }, { passive: false });
  window.addEventListener('keydown', (e) => {
    if (e.target && (e.target.tagName === 'INPUT' || e.target.tagName === 'TEXTAREA')) return;
    if (e.key === '+' || e.key === '=') zoom(1 / 1.5);
    else if (e.key === '-' || e.key === '_') zoom(1.5);
    else if (e.key === 'ArrowLeft') sposta(-0.2);
    else if (e.key === 'ArrowRight') sposta(0.2);
    else if (e.key === '0' || e.key === 'Home') imposta(0, lunghezza());
    else return;
    e.preventDefault();
  });
  $('ingrandisci').addEventListener('click', () => zoom(1 / 1.5));
  $('riduci').addEventListener('click', () => zoom(1.5));
  $('tutto').addEventListener('click', () => imposta(0, lunghezza()));
  new ResizeObserver(richiediDisegno).observe(document.body);

  // ---- Loading ---------------------------------------------------------------

  const caricamento = { attesa: null, inCorso: false };

  async function carica() {
    if (caricamento.inCorso) return;
    caricamento.inCorso = true;
    try {
      while (caricamento.attesa !== null) {
        const g = caricamento.attesa;
        caricamento.attesa = null;
        const risposta = await fetch('/model.json', { cache: 'no-store' });
        if (!risposta.ok) throw new Error('the server answered ' + risposta.status);
        applica(await risposta.json());
        stato.generazione = g;
      }
    } catch (err) {
      $('stato').textContent = 'cannot load the model: ' + err.message;
      $('stato').className = 'errore';
    } finally {
      caricamento.inCorso = false;
    }
  }

  function avvia() {
    const incorporato = $('modello');
    if (incorporato) {
      applica(JSON.parse(incorporato.textContent));
      return;
    }
    const eventi = new EventSource('/events');
    eventi.onmessage = (e) => {
      const g = Number(String(e.data).trim());
      if (g === stato.generazione && stato.modello) return;
      caricamento.attesa = g;
      carica();
    };
    eventi.onerror = () => {
      if (eventi.readyState !== EventSource.OPEN) {
        $('stato').textContent = 'connection to the server lost: retrying…';
        $('stato').className = 'errore';
      }
    };
  }

  // ---- A read-only hook for tests --------------------------------------------

  // Features drawn in the last frame, with where they stand on the screen.
  function caratteristicheDisegnate(tipo) {
    const r = tela.getBoundingClientRect();
    const corsia = CORSIE.find((c) => c.id === tipo);
    return (stato.disegnati[tipo] || []).map((f) => ({
      position: f.pos,
      label: testoCaratteristica(f).split('\n')[0],
      file: f.dati.file,
      line: f.dati.line,
      x: r.left + xDi(f.pos),
      y: r.top + (corsia ? (corsia.alto + corsia.basso) / 2 : 0),
    }));
  }

  window.vista = Object.freeze({
    visibleRange: () => ({ start: stato.inizio, end: stato.fine }),
    drawn: (tipo) => caratteristicheDisegnate(tipo),
    counts: () => Object.fromEntries(Object.entries(stato.disegnati).map(([k, v]) => [k, v.length])),
    get generation() { return stato.generazione; },
    get lastDrawMs() { return stato.durata; },
    get ready() { return stato.pronto && !stato.richiesta; },
    get greyed() { return grigio(); },
    get compiles() { return !!stato.modello && stato.modello.compile.ok; },
  });

  avvia();
})();
