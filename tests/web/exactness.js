// SPDX-License-Identifier: GPL-3.0-or-later
// The web edition shows what veltrane-calc prints. Runs the WebAssembly
// module's one entry, request(op, args), under Node against the native
// veltrane-calc: the worked examples with their texts written out here,
// every operation's answer against the command line's output for the same
// case (sheets byte for byte, tables parsed here), seeded random
// calculations and batches, and the module's refusals, each in Chinese.
// Usage: node exactness.js MODULE.js VELTRANE-CALC [RANDOM-CASES]
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

// The module's answer to op with args, parsed.
function ask(m, op, args) {
  return JSON.parse(m.request(op, args || {}));
}

// The boxes of a calculation window.
function boxes(discharge, slope, roughness, factor) {
  return { Text2: discharge, Text4: slope, text6: roughness, Text7: factor };
}

// RFC 4180 as veltrane-calc writes it: quoted fields, doubled quotes, LF rows.
function parseCsv(text) {
  const rows = [];
  let row = [], field = '', quoted = false;
  for (let i = 0; i < text.length; ++i) {
    const c = text[i];
    if (quoted) {
      if (c === '"' && text[i + 1] === '"') { field += '"'; ++i; }
      else if (c === '"') quoted = false;
      else field += c;
    } else if (c === '"') quoted = true;
    else if (c === ',') { row.push(field); field = ''; }
    else if (c === '\n') { row.push(field); rows.push(row); row = []; field = ''; }
    else field += c;
  }
  if (field !== '' || row.length) { row.push(field); rows.push(row); }
  return rows;
}

// A file veltrane-calc writes with OPTION FILE: its status, and the file.
function nativeFile(option, args, input) {
  const file = path.join(tmp, 'out');
  fs.rmSync(file, { force: true });
  const r = runNative([option, file, '--force', ...args], input);
  r.file = fs.existsSync(file) ? fs.readFileSync(file, 'utf8') : '';
  return r;
}

function lines(...l) {
  return l.join('\r\n');
}

// The worked examples, written out.
function workedExamples(m) {
  const calc = (size, ...t) => ask(m, 'calculate', { size: kSizes.indexOf(size), boxes: boxes(...t) });
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
    const c = ask(m, 'catalogue');
    assert.deepEqual(c.sizes.map((s) => [s.name, s.sizeLabel, s.dimensions.join(' '), Object.values(s.defaults).join(' '),
      s.reportHeader]), [
      ['U60', 'U60形渠道构件', 'D60 54 66 4.0 7 30', '0.25 500 0.017 1.0', '显示计算成果： U60形渠道构件。 '],
      ['U80', 'U80形渠道构件', 'D80 64 88 4.5 8 40', '0.4 500 0.017 1.0', '显示计算成果： U80形渠道构件。 '],
      ['U100', 'U100形渠道构件', 'D100 75 110 5.0 9 50', '0.55 500 0.017 1.0', '显示计算成果： U100形渠道构件。 '],
      ['U120', 'U120形渠道构件', 'D120 90 132 5.5 10 60', '0.90 500 0.017 1.0', '显示计算成果： U120形渠道构件。 '],
      ['U140', 'U140形渠道构件', 'D140 105 156 6.0 11 70', '1.20 500 0.017 1.0', '显示计算成果： U140形渠道构件。 '],
    ]);
    // What the five windows show differently: U60 and U140 set the roughness
    // label with ideographic spaces and hint at the factor's range; U100's
    // discharge box takes six characters; U120 asks for the design
    // discharge; only U140's report box takes typing.
    const wide = '糙\u3000率\u3000：', narrow = '糙   率 ：';
    const labels = (q, n) => ({ Text2: q, Text4: '设计纵坡：1/', text6: n, Text7: '加大系数：' });
    assert.deepEqual(c.sizes.map((s) => [s.labels, s.dischargeMaxLength, s.factorTooltip, s.reportEditable]), [
      [labels('已知流量：', wide), 7, '计算范围1~2', false],
      [labels('已知流量：', narrow), 7, '', false],
      [labels('已知流量：', narrow), 6, '', false],
      [labels('设计流量：', narrow), 7, '', false],
      [labels('已知流量：', wide), 7, '计算范围1~2', true],
    ]);
    // Esc presses 返回 in U60, U80 and U120 and 退出 in U100 and U140; U140
    // opens with the focus in its report box, the others on 计算.
    assert.deepEqual(c.sizes.map((s) => s.escape + ' ' + s.firstFocus), ['back Command1', 'back Command1',
      'exit Command1', 'back Command1', 'exit Text1']);
    assert.equal(c.fontFamily, 'SimSun, "AR PL UMing CN", "AR PL UMing TW", "Noto Serif CJK SC", ' +
      '"Noto Sans CJK SC", "WenQuanYi Zen Hei", "PingFang SC", "Microsoft YaHei", serif');
    assert.deepEqual(c.criteria, [
      { key: 'min-freeboard', label: '最小安全超高 (m)', sourceLabel: '最小安全超高依据' },
      { key: 'min-velocity', label: '最小流速 (m/s)', sourceLabel: '最小流速依据' },
      { key: 'max-velocity', label: '最大流速 (m/s)', sourceLabel: '最大流速依据' },
      { key: 'min-discharge', label: '最小流量 (m³/s)' }]);
    assert.deepEqual(c.sheetFields.map((f) => f.key + ':' + f.label), ['project:工程名称', 'unit:设计单位',
      'stage:设计阶段', 'number:计算书编号', 'channel:渠道名称', 'station:桩号', 'designer:计算',
      'date:计算日期', 'checker:校核', 'checkDate:校核日期', 'approver:审核', 'approveDate:审核日期']);
    assert.deepEqual(c.basis, { label: '计算依据', hint: '每行一条，如标准编号、名称与条款' });
  });
}

// The page's rating table is the command line's table at its default step,
// in the columns the program shows; its download has a byte order mark.
function ratingTables(m) {
  check('rating tables', () => {
    for (const [i, size] of kSizes.entries()) {
      const view = ask(m, 'rating', { size: i, boxes: boxes('1.0', '800', '0.014', '1.2') });
      const table = parseCsv(runNative(['table', '--csv', size, '800', '0.014']).out);
      const column = (name) => table[0].indexOf(name);
      const expected = table.slice(1).map((r) =>
        ['depth', 'discharge', 'velocity', 'area', 'froude'].map((name) => r[column(name)]));
      assert.deepEqual(view.headings, ['水深 h (m)', '流量 Q (m³/s)', '流速 V (m/s)', '过水面积 A (m²)', 'Fr'], size);
      assert.deepEqual(view.rows, expected, size);
      assert.equal(view.csv, '\ufeff水深 h (m),流量 Q (m³/s),流速 V (m/s),过水面积 A (m²),Fr\n' +
        expected.map((r) => r.join(',') + '\n').join(''));
      assert.ok(view.svg.includes('</svg>'));
    }
    assert.equal(ask(m, 'rating', { size: 0, boxes: boxes('1', '500', '0', '1') }).message.text,
      '糙率不能为0或负数，请重新输入。');
  });
}

// The page's drawings are veltrane-calc's --svg, of one run and of fit; an
// overflow is drawn too, and a rejected text gives its message.
function drawings(m) {
  check('drawings', () => {
    const one = nativeFile('--svg', ['--', 'U80', '0.3', '1000', '0.014', '1.2']);
    const drawn = ask(m, 'drawing', { size: 1, boxes: boxes('0.3', '1000', '0.014', '1.2') });
    assert.equal(drawn.svg, one.file);
    // Its PNG as the program saves it: the view box rounded, 2 px a unit.
    const box = one.file.match(/viewBox="0 0 ([0-9.]+) ([0-9.]+)"/);
    assert.deepEqual(drawn.png, { width: 2 * Math.round(Number(box[1])), height: 2 * Math.round(Number(box[2])) });
    assert.match(ask(m, 'drawing', { size: 0, boxes: boxes('0.25', '500', '0.017', '1.2') }).svg, /校核水深大于渠深/);
    assert.equal(ask(m, 'drawing', { size: 0, boxes: boxes('0.25', '-5', '0.017', '1.2') }).message.number, 3);
  });
  check('fit', () => {
    const fit = ask(m, 'fit', { boxes: boxes('0.25', '500', '0.017', '1.2') });
    const fitSvg = nativeFile('--svg', ['fit', '0.25', '500', '0.017', '1.2']).file;
    assert.equal(fit.svg, fitSvg);
    // Shown no narrower than makes its smallest label 10 px high.
    const smallest = Math.min(...[...fitSvg.matchAll(/font-size="([0-9.]+)"/g)].map((f) => Number(f[1])));
    const viewWidth = Number(fitSvg.match(/viewBox="0 0 ([0-9.]+) /)[1]);
    assert.equal(fit.readableWidth, Math.ceil(viewWidth * 10 / smallest));
    assert.deepEqual(fit.rows.map((r) => r[0] + ' ' + r[6]), ['U60 校核水深大于渠深', 'U80 满足', 'U100 满足',
      'U120 满足', 'U140 满足']);
    assert.equal(fit.verdict, '能通过设计流量与校核流量的最小标准断面：U80形渠道构件');
    assert.equal(fit.note, undefined);
    // With criteria: the same rows as veltrane-calc fit --csv with them.
    const withCriteria = ask(m, 'fit', { boxes: boxes('0.25', '500', '0.017', '1.2'),
      criteria: { 'min-freeboard': ' 0.2 ', 'max-velocity': '' } });
    assert.equal(withCriteria.note, '已按计算书中的设计准则选型。');
    const native = parseCsv(runNative(['fit', '--csv', '--min-freeboard', '0.2', '0.25', '500', '0.017', '1.2']).out);
    assert.deepEqual(withCriteria.rows.map((r) => r.slice(0, 6)),
      native.slice(1).map((r) => [r[0], ...r.slice(2, 7).map((c) => c || '—')]));
    assert.deepEqual(withCriteria.rows.map((r) => r[6]), ['校核水深大于渠深', '不满足设计准则', '满足', '满足', '满足']);
  });
}

// The design aids in the program's words, over the same searches as
// veltrane-calc capacity and solve-slope.
function designAids(m) {
  const aids = (criteria, ...texts) => ask(m, 'designAids', { size: 0, boxes: boxes(...texts), criteria });
  check('design aids', () => {
    const j = aids({}, '0.25', '500', '0.017', '1.0');
    const capacity = JSON.parse(runNative(['capacity', '--json', 'U60', '500', '0.017', '1.0']).out);
    const slopes = JSON.parse(runNative(['solve-slope', '--json', 'U60', '0.25', '0.017', '1.0']).out);
    const lf = (t) => t.replace(/\r\n/g, '\n');
    assert.equal(j.capacity, '纵坡 1/500 下的最大设计流量：Q = ' + capacity.discharge + ' m³/s\n\n' + lf(capacity.report));
    assert.equal(j.slopes, '适用纵坡：1/' + slopes.steepest + ' ～ 1/' + slopes.flattest + '\n\n最陡 1/10：\n' +
      lf(slopes.reports.steepest) + '\n\n最缓 1/573：\n' + lf(slopes.reports.flattest));
    assert.equal(j.note, undefined);
    const limited = aids({ 'min-freeboard': '0.6' }, '0.25', '500', '0.017', '1.0');
    assert.equal(limited.capacity, '纵坡 1/500 下没有满足要求的设计流量（流量小至 0.0001 m³/s 仍不满足：安全超高 0.528 m 小于 0.6 m）。');
    assert.equal(limited.note, '已按计算书中的设计准则计算。');
  });
}

// The selection table: veltrane-calc select-table's rows, as the selection
// sheet prints them, and its chart.
function selectTables(m) {
  check('selection tables', () => {
    for (const [n, k, slopes, criteria, options] of [
      ['0.017', '1.0', '300,500,1000', {}, []],
      ['0.014', '1.2', '1000,2000,', { 'max-velocity': '1' }, ['--max-velocity', '1']],
      ['0.02', '1.5', '10', {}, []],
    ]) {
      const t = ask(m, 'selectTable', { roughness: n, factor: k, slopes, criteria });
      const csv = parseCsv(runNative(['select-table', '--csv', '--slopes', slopes, ...options, '--', n, k]).out);
      assert.deepEqual(csv[0], ['slope', 'U60', 'U80', 'U100', 'U120', 'U140']);
      assert.deepEqual(t.headings, ['纵坡 i', 'U60形渠道构件', 'U80形渠道构件', 'U100形渠道构件', 'U120形渠道构件',
        'U140形渠道构件']);
      // The page writes the CSV's numbers with a leading zero, as every document does.
      const zero = (c) => (c.startsWith('.') ? '0' + c : c);
      assert.deepEqual(t.rows, csv.slice(1).map((r) => ['1/' + r[0], ...r.slice(1).map((c) => zero(c) || '—')]));
      const chart = nativeFile('--svg', ['select-table', '--slopes', slopes, ...options, '--', n, k]);
      assert.equal(t.svg, chart.file);
    }
    assert.deepEqual(ask(m, 'selectTable', { roughness: '0.017', factor: '1.0', slopes: '300,500,1000' }).rows[0],
      ['1/300', '0.3455', '0.6247', '1.0285', '1.681', '2.5525']);
  });
  // A list is refused by the module exactly when veltrane-calc refuses it.
  check('slope lists', () => {
    const many = Array.from({ length: 51 }, (_, i) => String(100 + i)).join(',');
    for (const list of ['300', '300,', '', ',300', '300,,500', '0', '1000000', '1000001', '+300', ' 300', '3e2',
      many, many.replace(/,150$/, ''), 'abc']) {
      const t = ask(m, 'selectTable', { roughness: '0.017', factor: '1.0', slopes: list });
      const native = runNative(['select-table', '--csv', '--slopes', list, '--', '0.017', '1.0']);
      assert.equal(t.refusal !== undefined, native.status === 2, JSON.stringify(list));
      if (t.refusal !== undefined) {
        assert.equal(t.refusal, '选型表纵坡“' + list + '”无效：须为 1 至 1000000 的整数，以逗号分隔，最多 50 个。');
      }
    }
  });
}

// A reach's sheet is veltrane-calc sheet --html's file, byte for byte.
function sheets(m) {
  const date = '2026年12月8日';
  check('sheets', () => {
    for (const [size, texts, reach, criteria, options] of [
      [0, ['0.25', '500', '0.017', '1.0'], { project: '<b>灌区</b>', date }, { 'min-freeboard': '0.05' },
        ['--project', '<b>灌区</b>', '--min-freeboard', '0.05']],
      [0, ['0.3', '500', '0.017', '1.0'], { date }, {}, []],
      [4, ['1.20', '500', '0.017', '1.5'], { project: '灌区', channel: '一支渠', station: '0+000~0+450', designer: '张三',
        date }, { 'min-velocity': '0.3', 'max-velocity': '3' },
        ['--project', '灌区', '--channel', '一支渠', '--station', '0+000~0+450', '--designer', '张三',
          '--min-velocity', '0.3', '--max-velocity', '3']],
      // The title block, the signatures, the basis (blank lines skipped) and a source.
      [1, ['0.3', '800', '0.015', '1.2'], { unit: '某院 <设计>', stage: '初步设计', number: 'JS-17', checker: '李四',
        checkDate: '2026-12-09', approver: '王五', approveDate: '2026-12-10', basis: ' GB 50288 \n\nSL 482 第 5.2 条',
        sources: { 'min-freeboard': 'GB 50288 第 6.4.5 条' }, date }, { 'min-freeboard': '0.05' },
        ['--unit', '某院 <设计>', '--stage', '初步设计', '--number', 'JS-17', '--checker', '李四', '--check-date',
          '2026-12-09', '--approver', '王五', '--approve-date', '2026-12-10', '--basis', 'GB 50288', '--basis',
          'SL 482 第 5.2 条', '--min-freeboard', '0.05', '--min-freeboard-source', 'GB 50288 第 6.4.5 条']],
    ]) {
      const answer = ask(m, 'sheet', { size, boxes: boxes(...texts), reach, criteria, sources: reach.sources });
      const native = nativeFile('--html', ['sheet', '--date', date, ...options, '--', kSizes[size], ...texts]);
      assert.ok(native.file.length > 1000);
      assert.deepEqual(answer, { html: native.file });
    }
  });
}

// With no date given, the module dates a sheet as the command line does.
function sheetDatedToday(m) {
  check('a sheet dated today', () => {
    const texts = ['0.25', '500', '0.017', '1.0'];
    const answer = ask(m, 'sheet', { size: 0, boxes: boxes(...texts), reach: { date: '' } });
    const native = nativeFile('--html', ['sheet', 'U60', ...texts]);
    const now = new Date();
    assert.ok(native.file.includes(now.getFullYear() + '年' + (now.getMonth() + 1) + '月' + now.getDate() + '日'));
    assert.equal(answer.html, native.file);
  });
}

// Batch files: the table is veltrane-calc --batch's CSV (parsed here), but
// for a bad row's problem, which the page says in Chinese; the download is
// that CSV byte for byte; the canal sheet is sheet --batch --html's file.
const kReachCsv = 'size,discharge,slope,roughness,factor,name,station,project\r\n' +
  'U60,0.25,500,0.017,1.0,一支渠,0+000~0+450,灌区\r\nU80,0.3,1000,0.014,1.2,"<img src=x>",,\r\n' +
  'U61,1,1,1,1,,,\r\nU60,0.3,500,0.017,1,,,\r\nU60,1\r\n"U60,1,1,1,1\r\n';
const kBadRows = ['第 4 行：无此规格“U61”（可用 U60、U80、U100、U120、U140）', '第 6 行：有 2 项，第一行有 8 项',
  '第 7 行：引号内的内容没有结束引号'];

function utf16(text, littleEndian) {
  const out = new Uint8Array(2 + text.length * 2);
  const view = new DataView(out.buffer);
  view.setUint16(0, 0xfeff, littleEndian);
  for (let i = 0; i < text.length; ++i) view.setUint16(2 + 2 * i, text.charCodeAt(i), littleEndian);
  return out;
}

function batches(m) {
  const bytes = (text) => new Uint8Array(Buffer.from(text, 'utf8'));
  check('batch', () => {
    const r = ask(m, 'batch', { bytes: bytes(kReachCsv), name: 'canal.csv' });
    const native = runNative(['--batch', '-'], kReachCsv);
    const table = parseCsv(native.out);
    assert.equal(table[0].join(','), 'size,discharge,slope,roughness,factor,status,check_discharge,design_depth,' +
      'check_depth,velocity,surface_width,area,wetted_perimeter,hydraulic_radius,chezy,message');
    // The same columns under the headings a person reads, statuses in Chinese.
    assert.deepEqual(r.headings, ['规格', '设计流量 Q (m³/s)', '纵坡 1/x', '糙率 n', '加大系数 k', '结果',
      '校核流量 kQ (m³/s)', '设计水深 h (m)', '校核水深 h1 (m)', '流速 V (m/s)', '水面宽度 b (m)', '过水面积 A (m²)',
      '湿周 X (m)', '水力半径 R (m)', '谢才系数 C', '说明']);
    const status = { report: '计算成果', message: '程序提示', error: '无法计算' };
    let bad = 0;
    const expected = table.slice(1).map((row) => {
      const shown = [...row.slice(0, 5), status[row[5]], ...row.slice(6)];
      if (row[5] === 'error') shown[15] = kBadRows[bad++];
      return shown;
    });
    assert.equal(bad, 3);
    assert.deepEqual(r.rows, expected);
    assert.deepEqual(r.rows[0].slice(5, 9), ['计算成果', '.25', '.516', '.516']);
    assert.equal(r.rows[3][15], '设计水深已大于渠深,请选用其他U形渠道构件。');
    assert.equal(r.notice, '');
    assert.equal(r.csv, runNative(['--batch', '-', '--bom'], kReachCsv).out);
    assert.ok(r.csv.startsWith('\ufeffsize,'));
  });
  check('batch encodings', () => {
    const plain = ask(m, 'batch', { bytes: bytes(kReachCsv) });
    for (const le of [true, false]) {
      const r = ask(m, 'batch', { bytes: utf16(kReachCsv, le), name: 'canal.csv' });
      assert.deepEqual(r, plain, le ? 'UTF-16LE' : 'UTF-16BE');
    }
    assert.deepEqual(ask(m, 'batch', { bytes: bytes('\ufeff' + kReachCsv) }), plain);
    const gbk = Buffer.from('73697a652c646973636861726765' + '2c736c6f70652c726f7567686e6573732c666163746f720a' +
      '5536302c302e32352c3530302c302e3031372cd2bbb5e3b6fe0a', 'hex');  // "一点二" as the factor, in GB18030
    const r = ask(m, 'batch', { bytes: new Uint8Array(gbk), name: 'gbk.csv' });
    assert.equal(r.notice, '文件不是UTF-8编码，已按GB18030读取。');
    assert.deepEqual(r.rows.map((row) => [row[4], row[5], row[15]]), [['一点二', '程序提示',
      '加大系数已不在适用范围，请重新输入']]);
  });
  check('batch file problems', () => {
    const cases = [
      ['', '文件是空的：第一行须列出各列的名称 size,discharge,slope,roughness,factor。'],
      ['size,discharge,slope,roughness\nU60,1,1,1\n', '第一行缺少“factor”列；须有 size,discharge,slope,roughness,factor 各列。'],
      ['size,discharge,slope,roughness,factor,Slope\n', '第一行两次列出“slope”列。'],
    ];
    for (const [text, refusal] of cases) {
      assert.deepEqual(ask(m, 'batch', { bytes: bytes(text) }), { refusal }, JSON.stringify(text));
      assert.deepEqual(ask(m, 'canal', { bytes: bytes(text) }), { refusal }, JSON.stringify(text));
      assert.equal(runNative(['--batch', '-'], text).status, 2, JSON.stringify(text));
    }
    for (const notBytes of [undefined, 'size,discharge', [1, 2]]) {
      assert.deepEqual(ask(m, 'batch', { bytes: notBytes }), { refusal: '页面没有把文件的内容交给计算模块，无法读取。' });
    }
  });
  check('canal sheet', () => {
    const date = '2026年12月8日';
    for (const [reach, criteria, options] of [
      [{ date }, {}, []],
      [{ date, project: '默认工程', designer: '李四' }, { 'max-velocity': '1.5' },
        ['--project', '默认工程', '--designer', '李四', '--max-velocity', '1.5']],
    ]) {
      const r = ask(m, 'canal', { bytes: utf16(kReachCsv, true), name: 'canal.csv', reach, criteria });
      const native = nativeFile('--html', ['sheet', '--batch', '-', '--date', date, ...options], kReachCsv);
      assert.ok(native.file.includes('一支渠'));
      assert.deepEqual(r, { html: native.file, notice: '' });
    }
    assert.deepEqual(ask(m, 'canal', { bytes: bytes(kReachCsv), criteria: { 'min-freeboard': '0,2' } }), {
      refusal: '最小安全超高“0,2”无效：须为 0 或更大的数（单位 m，只填数字）；不设此准则请留空。',
      instead: '设计准则有误，改正后才能预览、保存或打印计算书。',
    });
  });
}

// 6,000 random rows: the module's table and download against --batch; also
// the speed of the two.
function randomBatch(m) {
  const next = randomTexts(8122026);
  let csv = 'size,discharge,slope,roughness,factor\n';
  for (let i = 0; i < 6000; ++i) csv += next().map((t) => '"' + t.replace(/"/g, '""') + '"').join(',') + '\n';
  let t = process.hrtime.bigint();
  const a = runNative(['--batch', '-', '--bom'], csv);
  const nativeMs = Number(process.hrtime.bigint() - t) / 1e6;
  t = process.hrtime.bigint();
  const b = ask(m, 'batch', { bytes: new Uint8Array(Buffer.from(csv, 'utf8')) });
  const moduleMs = Number(process.hrtime.bigint() - t) / 1e6;
  check('6000-row batch', () => {
    assert.equal(b.csv, a.out);
    const status = { report: '计算成果', message: '程序提示', error: '无法计算' };
    assert.deepEqual(b.rows, parseCsv(a.out.slice(1)).slice(1).map((r) => [...r.slice(0, 5), status[r[5]], ...r.slice(6)]));
    assert.equal(b.rows.length, 6000);
  });
  check('6000-row batch in slices', () => {
    // The page's worker takes the same file in slices: the same download,
    // the same shown cells, one slice held at a time.
    const bytes = (text) => new Uint8Array(Buffer.from(text, 'utf8'));
    const decoder = new TextDecoder();
    let csvRows = '';
    const rows = [];
    const counts = [];
    let progress = 0;
    const s = ask(m, 'batchStream', { bytes: new Uint8Array(Buffer.from(csv, 'utf8')), slice: 777, onSlice: (slice) => {
      csvRows += slice.csv;
      counts.push(slice.count);
      assert.ok(slice.line > progress && slice.line <= slice.lines && slice.lines === 6001);
      progress = slice.line;
      for (let r = 0; r < slice.count; ++r) {
        const row = [];
        for (let k = r * 16; k < r * 16 + 16; ++k) row.push(decoder.decode(slice.cells.subarray(k ? slice.ends[k - 1] : 0, slice.ends[k])));
        rows.push(row);
      }
    } });
    assert.equal(s.csvHead + csvRows, a.out);
    assert.deepEqual(rows, b.rows);
    assert.deepEqual(counts, [...Array(7).fill(777), 6000 - 7 * 777]);
    assert.equal(progress, 6001);
    assert.deepEqual([s.rows, s.notice], [6000, '']);
    assert.deepEqual(s.headings, b.headings);
    assert.deepEqual(ask(m, 'catalogue').batchHeadings, b.headings);
    assert.deepEqual(ask(m, 'batchStream', { bytes: bytes('size,discharge\nU60,1\n'), slice: 10, onSlice: () => assert.fail() }),
      ask(m, 'batch', { bytes: bytes('size,discharge\nU60,1\n') }));
    for (const slice of [0, 2.5e6, '10', undefined]) {
      assert.deepEqual(ask(m, 'batchStream', { bytes: bytes('size,discharge,slope,roughness,factor\nU60,1,1,1,1\n'), slice, onSlice: () => assert.fail() }),
        { refusal: '页面传给计算模块的参数不是文字，无法计算。' }, String(slice));
    }
  });
  console.log('6000-row batch: native ' + nativeMs.toFixed(0) + ' ms (process included), module ' +
    moduleMs.toFixed(0) + ' ms');
}

// What the module refuses, and how it says so.
// The user's sections: the module reads the page's table as veltrane-calc
// reads a --catalogue file, and every aid over all sections gives what the
// command line gives with that file.
function userSections(m) {
  const bytes = (text) => new Uint8Array(Buffer.from(text, 'utf8'));
  const hostile = '<b>甲,"乙"</b>';
  const table = [['X80', '0.4', '8', '0.64', '4.5', ''], [hostile, '0.35', '7', '0.6', '', '']];
  const file = path.join(tmp, 'sections.csv');
  fs.writeFileSync(file, 'name,r,alpha,H,thickness,top\nX80,0.4,8,0.64,4.5,\n"<b>甲,""乙""</b>",0.35,7,0.6,,\n');
  check('user sections', () => {
    const listed = ask(m, 'sections', { sections: table });
    assert.deepEqual(listed.sections.map((s) => [s.name, s.sizeLabel, ...s.dimensions, s.topComputed]), [
      ['X80', 'X80形渠道构件', '64', '87.5', '4.5', '8', '40', true],
      [hostile, hostile + '形渠道构件', '60', '76.7', '', '7', '35', true]]);
    // fit: the same rows and verdict as veltrane-calc fit --catalogue.
    const fit = ask(m, 'fit', { boxes: boxes('0.25', '500', '0.017', '1.2'), sections: table });
    const native = parseCsv(runNative(['--catalogue', file, 'fit', '--csv', '0.25', '500', '0.017', '1.2']).out);
    assert.deepEqual(fit.rows.map((r) => r.slice(0, 6)),
      native.slice(1).map((r) => [r[0], ...r.slice(2, 7).map((c) => c || '—')]));
    assert.deepEqual(fit.rows.map((r) => r[0]), ['U60', hostile, 'U80', 'X80', 'U100', 'U120', 'U140']);
    assert.equal(fit.svg, nativeFile('--svg', ['--catalogue', file, 'fit', '0.25', '500', '0.017', '1.2']).file);
    // The selection table's columns, and its chart.
    const t = ask(m, 'selectTable', { roughness: '0.014', factor: '1.2', slopes: '500,1000', sections: table });
    assert.deepEqual(t.headings.slice(1, 3), ['U60形渠道构件', hostile + '形渠道构件']);
    assert.equal(t.svg, nativeFile('--svg', ['--catalogue', file, 'select-table', '--slopes', '500,1000',
      '--', '0.014', '1.2']).file);
    // A batch and a canal's water surface name a catalogue row.
    const batch = 'size,discharge,slope,roughness,factor\nx80,0.4,500,0.017,1.2\n';
    assert.equal(ask(m, 'batch', { bytes: bytes(batch), name: 'b.csv', sections: table }).csv,
      runNative(['--catalogue', file, '--batch', '-', '--bom'], batch).out);
    const canal = 'name,length,size,slope,roughness,discharge\n甲,300,X80,500,0.017,0.4\n';
    const profile = ask(m, 'profile', { bytes: bytes(canal), name: 'c.csv', sections: table });
    assert.deepEqual(profile.profile,
      JSON.parse(runNative(['--catalogue', file, 'profile', '-', '--json'], canal).out));
    // Without the table the row's size is unknown.
    assert.match(ask(m, 'profile', { bytes: bytes(canal), name: 'c.csv' }).refusal, /X80/);
  });
  check('user section tables', () => {
    // Every problem by row, after the lead; fit refuses while any stands. H
    // is judged only against a good r and α.
    const bad = [['U60', '0.3', '7', '0.54'], ['甲', '0', '50', '0.1', '-1'], ['乙', 'x', '7', '']];
    const said = '自定义断面表有误：\n第 1 行（U60）：名称与标准断面（U60～U140、D60～D140）重名。\n' +
      '第 2 行（甲）：底弧半径 r 须大于 0 且不大于 100 m。\n第 2 行（甲）：直墙倾角 α 须不小于 0° 且小于 45°。\n' +
      '第 2 行（甲）：板厚 δ 如给定须大于 0 且不大于 100 cm。\n' +
      '第 3 行（乙）：底弧半径 r (m)“x”不是普通的十进制数。\n第 3 行（乙）：渠深 H (m)未填写。';
    assert.equal(ask(m, 'sections', { sections: bad }).refusal, said);
    assert.equal(ask(m, 'fit', { boxes: boxes('0.25', '500', '0.017', '1.2'), sections: bad }).refusal, said);
    // Tables of the wrong kind are refused as such; none is the five alone.
    for (const wrong of ['X80', [['a', 'b', 'c', 'd', 'e', 'f', 'g']], [[1, 2, 3, 4]], [null], {}]) {
      assert.equal(ask(m, 'sections', { sections: wrong }).refusal, '页面传给计算模块的参数不是文字，无法计算。',
        JSON.stringify(wrong));
    }
    assert.deepEqual(ask(m, 'sections', {}), { sections: [] });
    // The file and the table, both ways, quoting kept.
    const csv = ask(m, 'sectionsCsv', { sections: table }).csv;
    assert.equal(csv, '\ufeffname,r,alpha,H,thickness,top\r\nX80,0.4,8,0.64,4.5,\r\n"<b>甲,""乙""</b>",0.35,7,0.6,,\r\n');
    assert.deepEqual(ask(m, 'sectionRows', { bytes: bytes(csv), name: 's.csv' }), { rows: table, notice: '' });
    assert.equal(ask(m, 'sectionRows', { bytes: bytes('name,r\n'), name: 's.csv' }).refusal,
      '第 1 行：第一行须为列名 name,r,alpha,H,thickness,top。');
  });
}

function refusals(m) {
  const u60 = boxes('0.25', '500', '0.017', '1.0');
  check('a size that is not one of the five', () => {
    for (const [size, echo] of [[5, '5'], [-1, '-1'], [2.5, '2.5'], ['1', '1'], [undefined, ''], [NaN, 'NaN']]) {
      const text = '规格序号“' + echo + '”无效：须为 0 至 4 的整数（0 为 U60，4 为 U140）。';
      for (const op of ['calculate', 'drawing', 'rating', 'designAids']) {
        assert.deepEqual(ask(m, op, { size, boxes: u60 }), { refusal: text }, op + ' ' + echo);
      }
      assert.deepEqual(ask(m, 'sheet', { size, boxes: u60 }), { refusal: text });
    }
    assert.equal(ask(m, 'calculate', { size: 4, boxes: u60 }).header, '显示计算成果： U140形渠道构件。');
  });
  check('refused criteria', () => {
    const bad = { 'min-freeboard': ' abc ', 'min-velocity': '-1', 'max-velocity': '1e999' };
    const text = '最小安全超高“ abc ”无效：须为 0 或更大的数（单位 m，只填数字）；不设此准则请留空。\n' +
      '最小流速“-1”无效：须为 0 或更大的数（单位 m/s，只填数字）；不设此准则请留空。\n' +
      '最大流速“1e999”无效：须为 0 或更大的数（单位 m/s，只填数字）；不设此准则请留空。';
    const instead = '设计准则有误，改正后才能预览、保存或打印计算书。';
    assert.deepEqual(ask(m, 'sheet', { size: 0, boxes: u60, criteria: bad }), { refusal: text, instead });
    assert.deepEqual(ask(m, 'criteria', { criteria: bad }), { refusal: text, instead });
    assert.deepEqual(ask(m, 'fit', { boxes: u60, criteria: bad }), { refusal: text });
    assert.deepEqual(ask(m, 'designAids', { size: 0, boxes: u60, criteria: bad }), { refusal: text });
    assert.deepEqual(ask(m, 'selectTable', { roughness: '0.017', factor: '1', slopes: '300', criteria: bad }),
      { refusal: text });
    const crossed = { 'min-velocity': '2', 'max-velocity': '0.5' };
    assert.deepEqual(ask(m, 'fit', { boxes: u60, criteria: crossed }),
      { refusal: '最小流速 2 m/s 大于最大流速 0.5 m/s：请改正其一。' });
    assert.deepEqual(ask(m, 'criteria', { criteria: { 'min-freeboard': ' 0.1 ' } }), {});
    // The criteria do not bear on a calculation, so they cannot stop one.
    assert.ok(ask(m, 'calculate', { size: 0, boxes: u60, criteria: bad }).report);
  });
  check('arguments of another kind', () => {
    const text = '页面传给计算模块的参数不是文字，无法计算。';
    assert.deepEqual(ask(m, 'calculate', { size: 0, boxes: { ...u60, Text2: 0.25 } }), { refusal: text });
    assert.deepEqual(ask(m, 'fit', { boxes: u60, criteria: { 'min-freeboard': 0.2 } }), { refusal: text });
    assert.deepEqual(ask(m, 'sheet', { size: 0, boxes: u60, reach: { date: 20261208 } }), { refusal: text });
    assert.deepEqual(ask(m, 'launch'), { refusal: '计算模块没有页面要求的这项操作。' });
    // No boxes at all: empty boxes, and the roughness is read first.
    assert.equal(JSON.parse(m.request('calculate', { size: 0 })).message.text, '糙率不能为0或负数，请重新输入。');
  });
}

// Every message the module can give is Chinese: once the user's own texts
// are taken out, no Latin letters but units, quantity symbols (H =, Q =, n, kQ …),
// the sizes (and "U形", the channel's name), CSV column names and the names
// of encodings (UTF-8, GB18030).
function allChinese(text, echoes) {
  let t = text;
  for (const e of echoes || []) t = t.split(e).join('');
  t = t.replace(/m³\/s|m\/s|\bm\b/g, '').replace(/\b[HQ] = /g, '').replace(/\bU(60|80|100|120|140)\b|U形/g, '')
    .replace(/\b(size|discharge|slope|roughness|factor|name|station|project)\b/g, '')
    .replace(/UTF-8|GB18030/g, '').replace(/\b(kQ|h1|[hQVbAXRCHnkx])\b/g, '');
  return !/[A-Za-z]/.test(t);
}

function chineseMessages(m) {
  check('every message is Chinese', () => {
    const u60 = (q, x, n, k) => ({ size: 0, boxes: boxes(q, x, n, k) });
    const messages = [];
    const add = (answer, pick, echoes) => messages.push([pick(answer), echoes]);
    const refusal = (a) => a.refusal;
    for (const size of [5, -1, 2.5]) add(ask(m, 'calculate', { size, boxes: {} }), refusal);
    for (const [field, text] of [['min-freeboard', 'x'], ['min-velocity', 'abc'], ['max-velocity', '-2']]) {
      for (const op of ['sheet', 'fit', 'designAids']) {
        add(ask(m, op, { ...u60('0.25', '500', '0.017', '1.0'), criteria: { [field]: text } }), refusal, [text]);
      }
    }
    add(ask(m, 'fit', { boxes: {}, criteria: { 'min-velocity': '3', 'max-velocity': '1' } }), refusal);
    add(ask(m, 'selectTable', { roughness: '0.017', factor: '1', slopes: 'x,y' }), refusal, ['x,y']);
    add(ask(m, 'sheet', { size: 0, boxes: {}, criteria: { 'min-velocity': 'v' } }), (a) => a.instead || 'none', ['v']);
    add(ask(m, 'launch'), refusal);
    add(ask(m, 'fit', { boxes: { Text2: 1 } }), refusal);
    // The calculation's messages, as the page shows them.
    for (const texts of [['0', '500', 'abc', '1'], ['', '500', '0.017', '1'], ['0.25', '-5', '0.017', '1'],
      ['0.25', '500', '0.017', '9'], ['0.3', '500', '0.017', '1'], ['0.25', '500', '0.017', '1.2']]) {
      add(ask(m, 'calculate', u60(...texts)), (a) => a.message.text);
      add(ask(m, 'fit', { boxes: boxes(...texts) }), (a) => (a.message ? a.message.text : a.verdict));
      add(ask(m, 'selectTable', { roughness: texts[2], factor: texts[3], slopes: '500' }),
        (a) => (a.message ? a.message.text : a.rows.flat().join(' ')));
    }
    // A batch file's problems, and its rows'.
    const file = (text) => ask(m, 'batch', { bytes: new Uint8Array(Buffer.from(text, 'utf8')) });
    for (const text of ['', 'size,discharge,slope,roughness\n', 'size,size,discharge,slope,roughness,factor\n']) {
      add(file(text), refusal);
    }
    add(ask(m, 'batch', {}), refusal);
    for (const row of file(kReachCsv).rows.filter((r) => r[5] === '无法计算')) add(row, (r) => r[15], ['U61']);
    add(file(kReachCsv), (a) => a.headings.join(' ') + ' ' + a.rows.map((r) => r[5]).join(' '));
    add(file('size,discharge,slope,roughness,factor\n' + 'U60,'.repeat(300000) + '\n'), (a) => a.rows[0][15]);
    add(ask(m, 'canal', { bytes: new Uint8Array(0) }), refusal);
    add(ask(m, 'batch', { bytes: new Uint8Array([...Buffer.from('size,discharge,slope,roughness,factor\n'), 0xd2, 0xbb, 0xb5, 0xe3, 0xb6, 0xfe]) }),
      (a) => a.notice);
    // The design aids' reasons: every way a search can find nothing.
    const reasons = [
      [{ 'min-freeboard': '0.6' }, ['0.25', '500', '0.017', '1.0']],
      [{ 'min-velocity': '5' }, ['0.25', '500', '0.017', '1.0']],
      [{ 'max-velocity': '0.1' }, ['0.25', '500', '0.017', '1.0']],
      [{}, ['5', '500', '0.017', '1.0']],
      [{}, ['0.25', '500', '0.017', '1.9']],
      [{ 'min-freeboard': '0.2', 'min-velocity': '1.2' }, ['0.2', '500', '0.017', '1.0']],
    ];
    for (const [criteria, texts] of reasons) {
      const a = ask(m, 'designAids', { ...u60(...texts), criteria });
      // The answers' first lines; the report after a found value is the window's.
      add(a, (x) => x.capacity.split('\n')[0], [texts[1]]);
      add(a, (x) => x.slopes.split('\n')[0]);
    }
    assert.ok(messages.length >= 47, String(messages.length));
    const latin = messages.filter(([text, echoes]) => typeof text !== 'string' || !text || !allChinese(text, echoes));
    assert.deepEqual(latin.map(([t]) => t), []);
    // The check itself: English is caught.
    assert.equal(allChinese('line 4: unknown size', []), false);
    assert.equal(allChinese('第 4 行：无此规格“U61”（可用 U60、U80）', ['U61']), true);
  });
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

// The page's report or message against veltrane-calc --json's, text for text.
function randomRuns(m) {
  const next = randomTexts(20261208);
  let differences = 0;
  for (let i = 0; i < randomCases; ++i) {
    const [size, ...texts] = next();
    const expected = JSON.parse(runNative(['--json', '--', size, ...texts]).out);
    const page = ask(m, 'calculate', { size: kSizes.indexOf(size), boxes: boxes(...texts) });
    const pageSays = page.report !== undefined ? ['report', page.report] : ['message', page.message.text, page.message.box];
    const nativeSays = expected.status === 'report' ? ['report', expected.report]
      : ['message', expected.message, expected.box];
    if (JSON.stringify(pageSays) !== JSON.stringify(nativeSays)) {
      if (++differences <= 5) console.error('FAIL random case', JSON.stringify([size, ...texts]));
    }
  }
  check(randomCases + ' random calculations', () => assert.equal(differences, 0));
}

// The water surface: the module's profile is veltrane-calc profile --json's
// to the byte, its drawing --svg -'s; what cannot be used is said in Chinese,
// every problem on its own line.
function profiles(m) {
  const canal = 'name,length,size,slope,roughness,discharge,bed,loss,level\n' +
    '陡槽,60,U60,25,0.014,0.25,10,,\n缓坡,400,U60,600,0.017,0.25,,0.1,8.0\n' +
    '下段,300,U80,1000,0.015,0.3,6.5,0.2,\n';
  const bytes = new Uint8Array(Buffer.from(canal, 'utf8'));
  const options = ['--factor', '1.2', '--spacing', '50', '--end', '6.8', '--min-freeboard', '0.05'];
  const args = { bytes, name: 'c.csv', factor: '1.2', spacing: '50', end: '6.8',
    criteria: { 'min-freeboard': '0.05' }, reach: { date: '2026-12-08' } };
  check('profile', () => {
    const r = ask(m, 'profile', args);
    const native = runNative(['profile', '-', '--json', ...options], canal);
    assert.equal(JSON.stringify(r.profile) + '\n', native.out);
    assert.equal(r.svg, runNative(['profile', '-', '--svg', '-', ...options], canal).out);
    assert.ok(r.csv.startsWith('\ufeff流量,渠段,桩号 (m),'), r.csv.slice(0, 40));
    assert.ok(r.html.includes('<h1>渠道水面线计算书</h1>'));
  });
  check('profile refusals', () => {
    const r = ask(m, 'profile', {
      bytes: new Uint8Array(Buffer.from('name,length,size,slope,roughness,discharge\n甲,0,U60,500,0.017,0.25\n')),
      name: 'c.csv', factor: '2.5', spacing: '-1', end: 'high', criteria: { 'min-freeboard': 'abc' },
    });
    // The file's problems, then the conditions' in the order the form shows them.
    assert.equal(r.refusal, '第 2 行“长度”：“0”须大于 0。\n加大系数须在 1 至 2 之间。\n' +
      '下游水位须为数，单位 m。\n断面间距须大于 0 且不大于 1000000 m。\n' +
      '最小安全超高须为不小于 0 的数，或不填。');
  });
  // The panel's table: the same reaches as rows give the file's profile;
  // their problems name the table's rows.
  const table = [
    ['陡槽', '60', 'U60', '25', '0.014', '0.25', '10', '', ''],
    ['缓坡', '400', 'U60', '600', '0.017', '0.25', '', '0.1', '8.0'],
    ['下段', '300', 'U80', '1000', '0.015', '0.3', '6.5', '0.2', ''],
  ];
  check('profile of a table', () => {
    const fromFile = ask(m, 'profile', args);
    const fromTable = ask(m, 'profile', { ...args, bytes: undefined, rows: table });
    assert.equal(JSON.stringify(fromTable.profile), JSON.stringify(fromFile.profile));
    assert.equal(fromTable.html, fromFile.html);
    assert.equal(fromTable.notice, '');
    const bad = ask(m, 'profile', { rows: [table[0], ['', '0', 'U70', '600', '0.017', '0.25']] });
    // A level chosen and left empty is refused, not taken for the default end.
    assert.equal(ask(m, 'profile', { rows: table, end: 'level', level: '' }).refusal, '下游水位须为数，单位 m。');
    assert.equal(JSON.stringify(ask(m, 'profile', { ...args, bytes: undefined, rows: table, end: 'level', level: ' 6.8 ' }).profile),
      JSON.stringify(fromFile.profile));
    assert.equal(bad.refusal, '第 2 行“渠段名称”：未填写。\n第 2 行“长度”：“0”须大于 0。\n' +
      '第 2 行“断面”：无此规格“U70”（可用 U60、U80、U100、U120、U140）。');
  });
  check('profile station tables', () => {
    const r = ask(m, 'profile', { ...args, factor: '1.2' });
    assert.deepEqual(r.stations.map((t) => t.flow), ['设计流量', '加大流量']);
    r.stations.forEach((t, f) => {
      const stations = r.profile.flows[f].stations;
      assert.equal(t.rows.length, stations.length);
      // Each row's reach and stake from the profile's own numbers, as an
      // engineer stakes them: km + metres.
      t.rows.forEach((row, i) => {
        const c = stations[i].chainage;
        const metres = String(Math.round((c % 1000) * 1000) / 1000).split('.');
        const stake = Math.floor(c / 1000) + '+' + metres[0].padStart(3, '0') + (metres[1] ? '.' + metres[1] : '');
        assert.deepEqual([row[0], row[1]], [stations[i].reach, stake]);
        assert.equal(row.length, 11);
      });
      assert.deepEqual(t.overtops, stations.flatMap((s, i) => (s.freeboard < 0 ? [i] : [])));
    });
    assert.equal(r.checks[r.checks.length - 1], r.profile.ok ? '水面线均在渠顶以下，各项校核满足。' : '校核不满足。');
    assert.ok(r.readableWidth > 0);
  });
  check('profile table in and out', () => {
    const file = '\ufeff渠段名称,长度,断面,纵坡,糙率,设计流量,要求水位\n"甲,""一""",300.0, u80 ,1000,0.01250,0.4,10.40\n';
    const rows = ask(m, 'profileRows', { bytes: new Uint8Array(Buffer.from(file)), name: 'a.csv' });
    assert.deepEqual(rows.rows, [['甲,"一"', '300.0', 'u80', '1000', '0.01250', '0.4', '', '', '10.40']]);
    assert.equal(rows.notice, '');
    assert.equal(ask(m, 'reachesCsv', { rows: rows.rows }).csv,
      '\ufeffname,length,size,slope,roughness,discharge,bed,loss,level\n' +
      '"甲,""一""",300.0,u80,1000,0.01250,0.4,,,10.40\n');
    assert.equal(ask(m, 'profileRows', { bytes: new Uint8Array(Buffer.from('name\n')) }).refusal,
      '第一行缺少“长度”列。');
    // A table of the wrong kind is refused, never half read.
    for (const bad of [{ rows: 'a,b' }, { rows: [['a'].concat(Array(9).fill(''))] }, { rows: [[1, 2]] },
      { rows: [null] }]) {
      assert.equal(ask(m, 'reachesCsv', bad).refusal, ask(m, 'reachesCsv', { rows: 5 }).refusal);
      assert.ok(ask(m, 'profile', bad).refusal);
    }
  });
  check('profile words', () => {
    const words = ask(m, 'catalogue').profile;
    assert.equal(words.columns.map((c) => c.key).join(','), 'name,length,size,slope,roughness,discharge,bed,loss,level');
    assert.deepEqual(words.ends.map((e) => e.value), ['normal', 'critical', 'level']);
    assert.equal(words.stationHeadings.length, 11);
  });
}

require(path.resolve(modulePath))().then((m) => {
  workedExamples(m);
  ratingTables(m);
  drawings(m);
  designAids(m);
  selectTables(m);
  sheets(m);
  sheetDatedToday(m);
  batches(m);
  profiles(m);
  userSections(m);
  refusals(m);
  chineseMessages(m);
  randomRuns(m);
  randomBatch(m);
  fs.rmSync(tmp, { recursive: true, force: true });
  console.log(checks + ' checks passed, ' + failures + ' failed');
  process.exit(failures ? 1 : 0);
});
