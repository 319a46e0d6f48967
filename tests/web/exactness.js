// SPDX-License-Identifier: GPL-3.0-or-later
// The web edition prints what veltrane-calc prints. Runs the WebAssembly
// module under Node against the native veltrane-calc: the worked examples
// with their texts written out here, every command on fixed cases, and
// seeded random calculations and batches; every output compared byte for
// byte. Usage: node exactness.js MODULE.js VELTRANE-CALC [RANDOM-CASES]
'use strict';

const assert = require('node:assert/strict');
const { spawnSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');

const [modulePath, native, casesArg] = process.argv.slice(2);
const randomCases = Number(casesArg || 3000);
const kSizes = ['U60', 'U80', 'U100', 'U120', 'U140'];
const tmp = fs.mkdtempSync(path.join(os.tmpdir(), 'veltrane-web-'));
let checks = 0;
let failures = 0;

function check(name, fn) {
  try {
    fn();
    ++checks;
  } catch (e) {
    ++failures;
    console.error('FAIL ' + name + '\n' + e.message.slice(0, 2000));
  }
}

const utf8 = new TextDecoder('utf-8', { ignoreBOM: true });

function runNative(args, input) {
  const r = spawnSync(native, args, { input: input || '', maxBuffer: 1 << 28 });
  return { status: r.status, out: utf8.decode(r.stdout), err: utf8.decode(r.stderr) };
}

function runModule(m, args, input) {
  const v = new m.StringVector();
  for (const a of args) v.push_back(a);
  const r = m.cli(v, input || '');
  v.delete();
  return { status: r.status, out: utf8.decode(r.out), err: utf8.decode(r.err) };
}

// The same command in both, with FILE (after option) written to a file of
// each side's own; the results, and the files' texts, must match.
function same(m, name, args, input, option) {
  check(name, () => {
    let nativeArgs = args, moduleArgs = args;
    if (option) {
      nativeArgs = [option, path.join(tmp, 'out'), '--force', ...args];
      moduleArgs = [option, '/tmp/out', '--force', ...args];
    }
    const a = runNative(nativeArgs, input);
    const b = runModule(m, moduleArgs, input);
    assert.deepEqual({ status: b.status, out: b.out, err: b.err }, a);
    if (option) {
      const nativeFile = fs.existsSync(path.join(tmp, 'out')) ? fs.readFileSync(path.join(tmp, 'out'), 'utf8') : '';
      fs.rmSync(path.join(tmp, 'out'), { force: true });
      assert.equal(m.takeFile('/tmp/out'), nativeFile);
    }
  });
}

function lines(...l) {
  return l.join('\r\n');
}

// The worked examples, written out.
function workedExamples(m) {
  const calc = (size, ...t) => JSON.parse(m.calculate(kSizes.indexOf(size), ...t));
  check('U60 defaults', () => {
    assert.deepEqual(calc('U60', '0.25', '500', '0.017', '1.0'), {
      header: '显示计算成果： U60形渠道构件。',
      report: lines('显示计算成果： U60形渠道构件。 ', '校核流量：Q = .25', '', '设计水深：h = .516', '',
        '校核水深：h1= .516', '', '流    速：V = .904', '', '水面宽度：b = .657', '', '过水面积：A = .277', '',
        '湿    周：X = 1.376', '', '水力半径：R = .201', '', '谢才系数：C = 45.034'),
    });
  });
  check('U60 Q 0.2, k 1.2', () => {
    const r = calc('U60', '0.2', '500', '0.017', '1.2').report.split('\r\n').filter((l) => l);
    assert.deepEqual(r.slice(1), ['校核流量：Q = .24', '设计水深：h = .447', '校核水深：h1= .502', '流    速：V = .863',
      '水面宽度：b = .64', '过水面积：A = .232', '湿    周：X = 1.237', '水力半径：R = .188', '谢才系数：C = 44.514']);
  });
  check('a tie rounds to even', () => {
    assert.match(calc('U60', '0.03125', '500', '0.017', '1').report, /\r\n校核流量：Q = \.0312\r\n/);
  });
  check('a tiny discharge', () => {
    const r = calc('U60', '1e-9', '500', '0.017', '1.0').report;
    for (const l of ['校核流量：Q = 0', '设计水深：h = .002', '过水面积：A = 0']) assert.ok(r.includes('\r\n' + l + '\r\n'), l);
  });
  check('messages 1 to 4 restore their own box', () => {
    const cases = [
      [['0', '500', 'abc', '1.0'], 1, '糙率不能为0或负数，请重新输入。', 'text6', '0.017'],
      [['', '500', '0.017', '1.0'], 2, '设计流量不能为0或负数，请重新输入', 'Text2', '0.25'],
      [['0.25', '-5', '0.017', '1.0'], 3, '设计纵坡不能为负数或0，请重新输入', 'Text4', '500'],
      [['0.25', '500', '0.017', '2.01'], 4, '加大系数已不在适用范围，请重新输入', 'Text7', '1.0'],
    ];
    for (const [texts, number, text, box, restored] of cases) {
      const o = calc('U60', ...texts);
      assert.equal(o.header, '显示计算成果： U60形渠道构件。');
      assert.deepEqual(o.message, { number, text, box, restores: [{ box, text: restored }], reportBoxText: '' });
    }
  });
  check('messages 5 and 6 restore every box and the report header', () => {
    const all = [{ box: 'Text2', text: '0.25' }, { box: 'Text4', text: '500' }, { box: 'text6', text: '0.017' },
      { box: 'Text7', text: '1.0' }];
    assert.deepEqual(calc('U60', '0.268', '500', '0.017', '1.0').message, {
      number: 5, text: '设计水深已大于渠深,请选用其他U形渠道构件。', box: 'Text2', restores: all,
      reportBoxText: '显示计算成果： U60形渠道构件。 ',
    });
    assert.equal(calc('U60', '0.25', '500', '0.017', '1.2').message.text, '校核水深已大于渠深,请选用其他U形渠道构件。');
    assert.match(calc('U60', '0.2675', '500', '0.017', '1.0').report, /设计水深：h = \.539/);
  });
  check('the catalogue', () => {
    const c = JSON.parse(m.catalogue());
    assert.deepEqual(c.map((s) => [s.dimensions.join(' '), Object.values(s.defaults).join(' '), s.reportHeader]), [
      ['D60 54 66 4.0 7 30', '0.25 500 0.017 1.0', '显示计算成果： U60形渠道构件。 '],
      ['D80 64 88 4.5 8 40', '0.4 500 0.017 1.0', '显示计算成果： U80形渠道构件。 '],
      ['D100 75 110 5.0 9 50', '0.55 500 0.017 1.0', '显示计算成果： U100形渠道构件。 '],
      ['D120 90 132 5.5 10 60', '0.90 500 0.017 1.0', '显示计算成果： U120形渠道构件。 '],
      ['D140 105 156 6.0 11 70', '1.20 500 0.017 1.0', '显示计算成果： U140形渠道构件。 '],
    ]);
  });
}

// The page's rating table is the command line's table at its default step,
// in the columns the program shows.
function ratingTables(m) {
  check('rating tables', () => {
    for (const [i, size] of kSizes.entries()) {
      const view = JSON.parse(m.rating(i, '1.0', '800', '0.014', '1.2'));
      const table = runNative(['table', '--csv', size, '800', '0.014']).out.trim().split('\n').map((l) => l.split(','));
      const column = (name) => table[0].indexOf(name);
      const expected = table.slice(1).map((r) =>
        ['depth', 'discharge', 'velocity', 'area', 'froude'].map((name) => r[column(name)]));
      assert.deepEqual(view.rows, expected, size);
      assert.equal(view.csv, '水深 h (m),流量 Q (m³/s),流速 V (m/s),过水面积 A (m²),Fr\n' + expected.map((r) => r.join(',') + '\n').join(''));
      assert.ok(view.svg.includes('</svg>'));
    }
    assert.equal(JSON.parse(m.rating(0, '1', '500', '0', '1')).message.text, '糙率不能为0或负数，请重新输入。');
  });
}

// The page's drawings are veltrane-calc's --svg, of one run and of fit; an
// overflow is drawn too, and a rejected text gives its message.
function drawings(m) {
  check('drawings', () => {
    const file = path.join(tmp, 'drawing.svg');
    runNative(['--svg', file, '--', 'U80', '0.3', '1000', '0.014', '1.2']);
    assert.equal(JSON.parse(m.drawing(1, '0.3', '1000', '0.014', '1.2')).svg, fs.readFileSync(file, 'utf8'));
    fs.rmSync(file);
    assert.match(JSON.parse(m.drawing(0, '0.25', '500', '0.017', '1.2')).svg, /校核水深大于渠深/);
    assert.equal(JSON.parse(m.drawing(0, '0.25', '-5', '0.017', '1.2')).message.number, 3);
    runNative(['fit', '--svg', file, '--', '0.25', '500', '0.017', '1.2']);
    const none = new m.StringVector();
    const fit = JSON.parse(m.fit('0.25', '500', '0.017', '1.2', none));
    none.delete();
    assert.equal(fit.svg, fs.readFileSync(file, 'utf8'));
    assert.deepEqual(fit.rows.map((r) => r[0] + ' ' + r[6]), ['U60 校核水深大于渠深', 'U80 满足', 'U100 满足',
      'U120 满足', 'U140 满足']);
    fs.rmSync(file);
  });
}

// The design aids in the program's words, over the same searches as
// veltrane-calc capacity and solve-slope.
function designAids(m) {
  const aids = (criteria, ...texts) => {
    const v = new m.StringVector();
    for (const c of criteria) v.push_back(c);
    const j = JSON.parse(m.designAids(0, ...texts, v));
    v.delete();
    return j;
  };
  check('design aids', () => {
    const j = aids([], '0.25', '500', '0.017', '1.0');
    const capacity = JSON.parse(runNative(['capacity', '--json', 'U60', '500', '0.017', '1.0']).out);
    const slopes = JSON.parse(runNative(['solve-slope', '--json', 'U60', '0.25', '0.017', '1.0']).out);
    const lf = (t) => t.replace(/\r\n/g, '\n');
    assert.equal(j.capacity, '纵坡 1/500 下的最大设计流量：Q = ' + capacity.discharge + ' m³/s\n\n' + lf(capacity.report));
    assert.equal(j.slopes, '适用纵坡：1/' + slopes.steepest + ' ～ 1/' + slopes.flattest + '\n\n最陡 1/10：\n' +
      lf(slopes.reports.steepest) + '\n\n最缓 1/573：\n' + lf(slopes.reports.flattest));
    assert.equal(aids(['--min-freeboard', '0.6'], '0.25', '500', '0.017', '1.0').capacity,
      '纵坡 1/500 下没有满足要求的设计流量（' +
      JSON.parse(runNative(['capacity', '--json', '--min-freeboard', '0.6', 'U60', '500', '0.017', '1.0']).out).reason + '）。');
    assert.ok(aids(['--min-freeboard', 'abc'], '0.25', '500', '0.017', '1.0').error.includes('--min-freeboard'));
  });
}

// Every command, on cases the command-line tests use.
function commands(m) {
  const date = ['--date', '2026年12月8日'];
  const reachCsv = 'size,discharge,slope,roughness,factor,name,station,project\r\n' +
    'U60,0.25,500,0.017,1.0,一支渠,0+000~0+450,灌区\r\nU80,0.3,1000,0.014,1.2,"<img src=x>",,\r\n' +
    'U61,1,1,1,1,,,\r\nU60,0.3,500,0.017,1,,,\r\n';
  const cases = [
    ['single', ['U60', '0.25', '500', '0.017', '1.0']],
    ['single json', ['--json', 'U140', '1.20', '500', '0.017', '1.5']],
    ['single message', ['U60', '0.3', '500', '0.017', '1.0']],
    ['out of range', ['--json', 'U60', '0.25', '500', '1e-310', '1.2']],
    ['usage', ['U61', '1']],
    ['help', ['--help']],
    ['fit', ['fit', '0.25', '500', '0.017', '1.2']],
    ['fit csv criteria', ['fit', '--csv', '--min-freeboard', '0.2', '0.25', '500', '0.017', '1.2']],
    ['fit json', ['fit', '--json', '0.5', '3000', '0.014', '1.3']],
    ['table', ['table', 'U100', '500', '0.017', '--step', '0.05']],
    ['table json', ['table', 'U60', '500', '0.017', '--json', '--step', '0.1']],
    ['table bad step', ['table', 'U60', '500', '0.017', '--step', '0.00001']],
    ['capacity', ['capacity', 'U60', '500', '0.017', '1.0']],
    ['capacity json', ['capacity', '--json', '--max-velocity', '1', 'U120', '300', '0.014', '1.2']],
    ['solve-slope', ['solve-slope', 'U60', '0.25', '0.017', '1.0']],
    ['select-table', ['select-table', '0.017', '1.0', '--slopes', '300,500,1000']],
    ['select-table csv', ['select-table', '--csv', '0.014', '1.2', '--slopes', '1000,2000']],
    ['batch', ['--batch', '-'], reachCsv],
    ['batch bom', ['--batch', '-', '--bom'], reachCsv],
    ['batch no header', ['--batch', '-'], 'a,b\r\n1,2\r\n'],
  ];
  for (const [name, args, input] of cases) same(m, name, args, input);
  same(m, 'drawing', ['--', 'U60', '0.25', '500', '0.017', '1.2'], '', '--svg');
  same(m, 'fit drawing', ['fit', '0.25', '500', '0.017', '1.2'], '', '--svg');
  same(m, 'select-table chart', ['select-table', '0.017', '1.0', '--slopes', '300,500,1000'], '', '--svg');
  same(m, 'sheet', ['sheet', ...date, '--project', '<b>灌区</b>', '--min-freeboard', '0.05', 'U60', '0.25', '500',
    '0.017', '1.0'], '', '--html');
  same(m, 'sheet message', ['sheet', ...date, 'U60', '0.3', '500', '0.017', '1.0'], '', '--html');
  same(m, 'canal sheet', ['sheet', '--batch', '-', ...date], reachCsv, '--html');
  same(m, 'selection sheet', ['select-table', ...date, '0.017', '1.0', '--slopes', '300,500'], '', '--html');
}

// Seeded texts: plain decimals, exponents, blanks, signs, junk and the
// number rules' odd corners.
function randomTexts(seed) {
  let s = seed >>> 0;
  const next = () => ((s = (Math.imul(s, 1664525) + 1013904223) >>> 0) / 2 ** 32);
  const pick = (a) => a[Math.floor(next() * a.length)];
  const decimal = (lo, hi, places) => (lo + next() * (hi - lo)).toFixed(places);
  const odd = ['', 'abc', '0', '-1', '1e-9', '&H1F', '&O17', '1,5', ' 2 50', '1D-1', '1e400', '1e-400',
    '.', '-0', '1.0', '2', '0.99', '2.01', '3e1', '+.5'];
  return () => {
    const q = next() < 0.1 ? pick(odd) : decimal(0.001, 3.5, 1 + Math.floor(next() * 4));
    const x = next() < 0.1 ? pick(odd) : String(Math.floor(50 + next() * 8000));
    const n = next() < 0.1 ? pick(odd) : decimal(0.009, 0.03, 3 + Math.floor(next() * 2));
    const k = next() < 0.1 ? pick(odd) : decimal(0.95, 2.05, 2);
    return [pick(kSizes), q, x, n, k];
  };
}

// Texts and the printed report equal; the raw doubles of --json (elements
// and extras) to 12 significant digits: the C libraries' sin, cos, tan, atan
// and pow differ in their last bit, and the geometry's differences of
// nearly equal terms carry that a few bits up.
function sameJson(a, b) {
  if (typeof a === 'number' && typeof b === 'number') {
    return a === b || Math.abs(a - b) <= 1e-12 * Math.max(Math.abs(a), Math.abs(b));
  }
  if (typeof a !== 'object' || a === null || typeof b !== 'object' || b === null) return a === b;
  const keys = Object.keys(a);
  return keys.length === Object.keys(b).length && keys.every((k) => sameJson(a[k], b[k]));
}

function randomRuns(m) {
  const next = randomTexts(20261208);
  let differences = 0;
  for (let i = 0; i < randomCases; ++i) {
    const [size, ...texts] = next();
    const a = runNative(['--json', '--', size, ...texts]);
    const b = runModule(m, ['--json', '--', size, ...texts]);
    const page = JSON.parse(m.calculate(kSizes.indexOf(size), ...texts));
    const expected = JSON.parse(a.out);
    const pageSays = page.report !== undefined ? ['report', page.report] : ['message', page.message.text, page.message.box];
    const nativeSays = expected.status === 'report' ? ['report', expected.report]
      : ['message', expected.message, expected.box];
    if (!sameJson(JSON.parse(b.out), expected) || a.status !== b.status ||
        JSON.stringify(pageSays) !== JSON.stringify(nativeSays)) {
      if (++differences <= 5) console.error('FAIL random case', JSON.stringify([size, ...texts]));
    }
  }
  check(randomCases + ' random calculations', () => assert.equal(differences, 0));
}

// 6,000 rows through --batch in both; also the speed of the two.
function randomBatch(m) {
  const next = randomTexts(8122026);
  let csv = 'size,discharge,slope,roughness,factor\n';
  for (let i = 0; i < 6000; ++i) csv += next().map((t) => '"' + t.replace(/"/g, '""') + '"').join(',') + '\n';
  let t = process.hrtime.bigint();
  const a = runNative(['--batch', '-'], csv);
  const nativeMs = Number(process.hrtime.bigint() - t) / 1e6;
  t = process.hrtime.bigint();
  const b = runModule(m, ['--batch', '-'], csv);
  const moduleMs = Number(process.hrtime.bigint() - t) / 1e6;
  check('6000-row batch', () => assert.deepEqual({ status: b.status, out: b.out, err: b.err }, a));
  console.log('6000-row batch: native ' + nativeMs.toFixed(0) + ' ms (process included), module ' +
    moduleMs.toFixed(0) + ' ms');
}

require(path.resolve(modulePath))().then((m) => {
  workedExamples(m);
  ratingTables(m);
  drawings(m);
  designAids(m);
  commands(m);
  randomRuns(m);
  randomBatch(m);
  fs.rmSync(tmp, { recursive: true, force: true });
  console.log(checks + ' checks passed, ' + failures + ' failed');
  process.exit(failures ? 1 : 0);
});
