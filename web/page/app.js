// SPDX-License-Identifier: GPL-3.0-or-later
// The page over the WebAssembly module: the section choice, the calculation
// with its Yes/No messages, the design aids, the sheet and the batch. Every
// number and text of a result comes from the module; this script only shows
// it. User texts reach the page through textContent and value, never as HTML.
'use strict';

(function () {
  // Per size, what its window shows differently: the discharge label, the
  // roughness label, the longest discharge text and the factor's hint.
  const kIdeographic = '糙\u3000率\u3000：';
  const kAscii = '糙   率 ：';
  const kLayouts = [
    { discharge: '已知流量：', roughness: kIdeographic, dischargeLength: 7, factorHint: '计算范围1~2' },
    { discharge: '已知流量：', roughness: kAscii, dischargeLength: 7, factorHint: '' },
    { discharge: '已知流量：', roughness: kAscii, dischargeLength: 6, factorHint: '' },
    { discharge: '设计流量：', roughness: kAscii, dischargeLength: 7, factorHint: '' },
    { discharge: '已知流量：', roughness: kIdeographic, dischargeLength: 7, factorHint: '计算范围1~2' },
  ];
  const kBoxes = ['Text2', 'Text4', 'text6', 'Text7'];
  const kPreselected = 3;  // D120

  const $ = (id) => document.getElementById(id);
  let core = null;
  let catalogue = [];
  let openSize = -1;
  let texts = [];  // per size, the four boxes' texts, kept while another size is open
  const criteria = { minFreeboard: '', minVelocity: '', maxVelocity: '' };
  const reach = { project: '', channel: '', station: '', designer: '', date: '' };

  // --- the module --------------------------------------------------------

  // Keeps a byte order mark that the command writes (--bom).
  const utf8 = new TextDecoder('utf-8', { ignoreBOM: true });

  // veltrane-calc inside the page: {status, out, err} as text, and outBytes.
  function calc(args, input) {
    const v = new core.StringVector();
    try {
      for (const a of args) v.push_back(String(a));
      const r = core.cli(v, input || '');
      return { status: r.status, out: utf8.decode(r.out), err: utf8.decode(r.err), outBytes: r.out };
    } finally {
      v.delete();
    }
  }

  // A command that writes FILE: its result, and the file's text.
  function calcToFile(args, option, input) {
    const path = '/tmp/veltrane-output';
    const r = calc([option, path, '--force'].concat(args), input);
    r.file = core.takeFile(path);
    return r;
  }

  function criteriaArgs() {
    const a = [];
    if (criteria.minFreeboard.trim()) a.push('--min-freeboard', criteria.minFreeboard.trim());
    if (criteria.minVelocity.trim()) a.push('--min-velocity', criteria.minVelocity.trim());
    if (criteria.maxVelocity.trim()) a.push('--max-velocity', criteria.maxVelocity.trim());
    return a;
  }

  function reachArgs() {
    const a = [];
    for (const key of ['project', 'channel', 'station', 'designer', 'date']) {
      if (reach[key] !== '') a.push('--' + key, reach[key]);
    }
    return a;
  }

  // --- small helpers -----------------------------------------------------

  function el(tag, props, children) {
    const e = document.createElement(tag);
    if (props) {
      for (const [k, v] of Object.entries(props)) {
        if (k === 'text') e.textContent = v;
        else if (k in e) e[k] = v;
        else e.setAttribute(k, v);
      }
    }
    for (const c of children || []) e.append(c);
    return e;
  }

  // RFC 4180: fields may be quoted, quotes doubled, line breaks inside quotes.
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
      else if (c === '\n' || c === '\r') {
        if (c === '\r' && text[i + 1] === '\n') ++i;
        row.push(field); rows.push(row); row = []; field = '';
      } else field += c;
    }
    if (field !== '' || row.length) { row.push(field); rows.push(row); }
    return rows;
  }

  function fillTable(table, header, rows) {
    table.replaceChildren();
    const head = el('thead', null, [el('tr', null, header.map((h) => el('th', { scope: 'col', text: h })))]);
    const body = document.createElement('tbody');
    const frag = document.createDocumentFragment();
    for (const r of rows) frag.append(el('tr', null, r.map((c) => el('td', { text: c }))));
    body.append(frag);
    table.append(head, body);
  }

  function svgImage(svg, label) {
    const img = el('img', { alt: label, className: 'drawing' });
    img.src = 'data:image/svg+xml;charset=utf-8,' + encodeURIComponent(svg);
    return img;
  }

  function download(name, text, type) {
    const url = URL.createObjectURL(new Blob([text], { type }));
    const a = el('a', { href: url, download: name });
    document.body.append(a);
    a.click();
    a.remove();
    setTimeout(() => URL.revokeObjectURL(url), 10000);
  }

  function button(id, label, onClick) {
    const b = el('button', { id, type: 'button', text: label });
    b.addEventListener('click', onClick);
    return b;
  }

  // --- the section choice ------------------------------------------------

  function buildChoice() {
    const options = $('options');
    const body = $('dimensionTable').tBodies[0];
    catalogue.forEach((s, i) => {
      const id = 'Option' + (i + 1);
      const input = el('input', { type: 'radio', name: 'size', id, value: String(i) });
      input.checked = i === kPreselected;
      options.append(el('label', { className: 'option', htmlFor: id }, [input, ' ' + s.dimensions[0] + ' U形']));
      body.append(el('tr', null, s.dimensions.map((c, k) => el(k ? 'td' : 'th', { text: c, scope: k ? undefined : 'row' }))));
      texts.push({ ...s.defaults });
    });
    $('choiceForm').addEventListener('submit', (e) => {
      e.preventDefault();
      const chosen = selectedOption();
      if (chosen) openCalculation(Number(chosen.value));
    });
  }

  function selectedOption() {
    return document.querySelector('input[name=size]:checked');
  }

  // --- the calculation ---------------------------------------------------

  function saveTexts() {
    if (openSize < 0) return;
    for (const b of kBoxes) texts[openSize][b] = $(b).value;
  }

  function openCalculation(size) {
    saveTexts();
    openSize = size;
    const layout = kLayouts[size];
    $('Label2').textContent = catalogue[size].sizeLabel;
    $('Label1').textContent = layout.discharge;
    $('Label5').textContent = layout.roughness;
    $('Text2').maxLength = layout.dischargeLength;
    $('Text7').title = layout.factorHint;
    // The U140 window's report box takes typing; the others' do not.
    $('Text1').readOnly = size !== 4;
    for (const b of kBoxes) $(b).value = texts[size][b];
    $('choice').hidden = true;
    $('calculation').hidden = false;
    $('Text1').value = catalogue[size].reportHeader;
    document.title = catalogue[size].sizeLabel + ' · Veltrane';
    $('Command1').focus();
  }

  function goBack() {
    saveTexts();
    $('calculation').hidden = true;
    $('choice').hidden = false;
    document.title = 'Veltrane 装配式U形渠道水力计算';
    const chosen = selectedOption();
    if (chosen) chosen.focus();
  }

  function boxTexts() {
    return kBoxes.map((b) => $(b).value);
  }

  function calculate() {
    const outcome = JSON.parse(core.calculate(openSize, ...boxTexts()));
    $('Text1').value = outcome.header;
    if (outcome.report !== undefined) {
      $('Text1').value = outcome.report;
      return;
    }
    ask(outcome.message.text).then((yes) => {
      if (!yes) {
        goBack();
        return;
      }
      const m = outcome.message;
      $(m.box).focus();
      for (const r of m.restores) $(r.box).value = r.text;
      if (m.reportBoxText) $('Text1').value = m.reportBoxText;
    });
  }

  // The Yes/No message: Enter or Y answers Yes, N answers No; Esc does
  // nothing, as a message has no third answer.
  function ask(text) {
    const dialog = $('message');
    $('messageText').textContent = text;
    return new Promise((resolve) => {
      const answer = (yes) => {
        dialog.removeEventListener('keydown', onKey);
        dialog.removeEventListener('cancel', onCancel);
        $('Yes').onclick = $('No').onclick = null;
        dialog.close();
        resolve(yes);
      };
      const onKey = (e) => {
        if (e.key === 'y' || e.key === 'Y') { e.preventDefault(); answer(true); }
        else if (e.key === 'n' || e.key === 'N') { e.preventDefault(); answer(false); }
      };
      const onCancel = (e) => e.preventDefault();
      dialog.addEventListener('keydown', onKey);
      dialog.addEventListener('cancel', onCancel);
      $('Yes').onclick = () => answer(true);
      $('No').onclick = () => answer(false);
      dialog.showModal();
      $('Yes').focus();
    });
  }

  // --- the design aids ---------------------------------------------------

  function openAid(title, build) {
    const dialog = $('aid');
    $('aidTitle').textContent = title;
    const body = $('aidBody');
    body.replaceChildren();
    build(body);
    if (!dialog.open) dialog.showModal();
  }

  function notice(body, text) {
    body.append(el('p', { className: 'rejected', role: 'alert', text }));
  }

  function sizeName() {
    return catalogue[openSize].name;
  }

  // As the program's drawing: a rejected text shows its message; a depth
  // above the channel is drawn, and the panel says so.
  function showDrawing(body) {
    const view = JSON.parse(core.drawing(openSize, ...boxTexts()));
    if (view.message) {
      notice(body, view.message.text);
      return;
    }
    body.append(svgImage(view.svg, '断面图'));
    body.append(el('div', { className: 'buttons' }, [
      button('saveSvg', '保存SVG…', () => download('断面图-' + sizeName() + '.svg', view.svg, 'image/svg+xml')),
    ]));
  }

  // The module's answer for the window's texts and the sheet's criteria.
  function withCriteria(ask) {
    const v = new core.StringVector();
    try {
      for (const a of criteriaArgs()) v.push_back(a);
      return JSON.parse(ask(v));
    } finally {
      v.delete();
    }
  }

  // As the program's 选型 dialog, with the five sections drawn below.
  function showFit(body) {
    const fit = withCriteria((v) => core.fit(...boxTexts(), v));
    if (fit.error !== undefined || fit.message) {
      notice(body, fit.error !== undefined ? fit.error : fit.message.text);
      return;
    }
    const table = el('table', { id: 'fitTable', className: 'grid' });
    fillTable(table, fit.headings, fit.rows);
    body.append(el('div', { className: 'scroll' }, [table]), el('p', { id: 'smallest', text: fit.verdict }));
    if (criteriaArgs().length) body.append(el('p', { className: 'hint', text: '已按计算书中的设计准则选型。' }));
    body.append(svgImage(fit.svg, '五种断面的断面图'));
  }

  function showRating(body) {
    const view = JSON.parse(core.rating(openSize, ...boxTexts()));
    if (view.message) {
      notice(body, view.message.text);
      return;
    }
    const table = el('table', { id: 'ratingTable', className: 'grid' });
    fillTable(table, view.headings, view.rows);
    body.append(el('div', { className: 'split' }, [
      el('div', { className: 'scroll tall' }, [table]),
      svgImage(view.svg, '水位流量关系曲线'),
    ]));
    body.append(el('div', { className: 'buttons' }, [
      button('ratingCsv', '导出CSV…', () => download('水位流量关系-' + sizeName() + '.csv', '\ufeff' + view.csv, 'text/csv')),
    ]));
  }

  // The sheet: the reach's details and the criteria (kept for the visit),
  // then the preview, 打印 and 保存HTML.
  function showSheet(body) {
    const form = el('form', { id: 'sheetForm', className: 'details', noValidate: true });
    const fields = [
      ['project', '工程名称', reach], ['channel', '渠道名称', reach], ['station', '桩号', reach],
      ['designer', '设计', reach], ['date', '日期', reach],
      ['minFreeboard', '最小超高 (m)', criteria], ['minVelocity', '最小流速 (m/s)', criteria],
      ['maxVelocity', '最大流速 (m/s)', criteria],
    ];
    for (const [key, label, store] of fields) {
      const input = el('input', { id: 'sheet_' + key, type: 'text', value: store[key], autocomplete: 'off' });
      if (key === 'date') input.placeholder = '今天';
      input.addEventListener('input', () => { store[key] = input.value; });
      form.append(el('label', { htmlFor: input.id, text: label }), input);
    }
    const preview = el('iframe', { id: 'sheetPreview', title: '计算书预览', className: 'preview' });
    preview.setAttribute('sandbox', 'allow-same-origin');
    let html = '';
    const make = () => {
      const r = calcToFile(['sheet', ...reachArgs(), ...criteriaArgs(), '--', sizeName(), ...boxTexts()], '--html');
      html = r.file;
      problem.textContent = html ? '' : r.err.trim();
      preview.srcdoc = html;
    };
    form.addEventListener('submit', (e) => { e.preventDefault(); make(); });
    form.append(el('div', { className: 'buttons' }, [
      el('button', { id: 'sheetUpdate', type: 'submit', text: '更新预览' }),
      button('sheetPrint', '打印…', () => printHtml(html)),
      button('sheetSave', '保存HTML…', () => download('计算书-' + sizeName() + '.html', html, 'text/html')),
    ]));
    const problem = el('p', { id: 'sheetProblem', className: 'rejected', role: 'alert' });
    body.append(form, problem, preview);
    make();
  }

  // Prints through the browser's dialog; the sheet's own CSS sets A4.
  function printHtml(html) {
    if (!html) return;
    const frame = $('printFrame');
    frame.onload = () => {
      frame.onload = null;
      frame.contentWindow.focus();
      frame.contentWindow.print();
    };
    frame.srcdoc = html;
  }

  // The capacity at the window's slope and the slopes for its discharge, in
  // the program's words; the selection table and chart from veltrane-calc.
  function showDesignAids(body) {
    const q = $('Text2').value, x = $('Text4').value, n = $('text6').value, k = $('Text7').value;
    const out = el('pre', { id: 'aidOutput', className: 'output', tabIndex: 0 });
    const extra = el('div');
    const answer = (key) => {
      extra.replaceChildren();
      const j = withCriteria((v) => core.designAids(openSize, q, x, n, k, v));
      out.textContent = j.error !== undefined ? j.error : j[key];
    };
    const slopes = el('input', { id: 'slopeList', type: 'text', value: '300,500,1000,2000,3000', autocomplete: 'off' });
    body.append(
      el('p', { className: 'hint', text: '以本窗口的输入计算（' + catalogue[openSize].sizeLabel + '，糙率 ' + n + '，加大系数 ' + k + '）。' }),
      el('div', { className: 'buttons left' }, [
        button('capacityButton', '求过流能力（按纵坡 1/' + x + '）', () => answer('capacity')),
        button('slopeButton', '求适用纵坡（按流量 ' + q + '）', () => answer('slopes')),
      ]),
      el('div', { className: 'buttons left' }, [
        el('label', { htmlFor: 'slopeList', text: '选型表纵坡 1/x：' }), slopes,
        button('selectButton', '选型表', () => {
          const r = calc(['select-table', '--csv', '--slopes', slopes.value, ...criteriaArgs(), '--svg',
            '/tmp/veltrane-select.svg', '--force', '--', n, k]);
          const svg = core.takeFile('/tmp/veltrane-select.svg');
          if (r.status !== 0 || !r.out) {
            extra.replaceChildren();
            out.textContent = r.err;
            return;
          }
          out.textContent = '';
          extra.replaceChildren();
          const rows = parseCsv(r.out);
          const table = el('table', { id: 'selectTable', className: 'grid' });
          fillTable(table, rows[0].map((h) => (h === 'slope' ? '纵坡 1/x' : h + ' Q (m³/s)')), rows.slice(1));
          extra.append(el('div', { className: 'scroll' }, [table]));
          if (svg) extra.append(svgImage(svg, '选型图'));
        }),
      ]),
      out, extra);
  }

  // --- the batch ---------------------------------------------------------

  let batchInput = '';

  function runBatch(text) {
    batchInput = text;
    const started = performance.now();
    const r = calc(['--batch', '-'], text);
    const table = $('batchTable');
    if (r.status !== 0) {
      table.replaceChildren();
      $('batchStatus').textContent = r.err.trim();
      $('batchCsv').disabled = $('batchSheet').disabled = true;
      return;
    }
    const rows = parseCsv(r.out);
    fillTable(table, rows[0], rows.slice(1));
    const ms = performance.now() - started;  // the run and the table, as the user waits for both
    const count = rows.length - 1;
    $('batchStatus').textContent = '共 ' + count + ' 行，用时 ' + ms.toFixed(0) + ' ms。';
    $('batchStatus').dataset.ms = String(ms);
    $('batchCsv').disabled = $('batchSheet').disabled = false;
  }

  function buildBatch() {
    $('batchFile').addEventListener('change', async (e) => {
      const file = e.target.files[0];
      if (!file) return;
      const bytes = await file.arrayBuffer();
      // A spreadsheet on a Chinese system saves CSV in GB18030 (GBK); a file
      // that is not UTF-8 is read that way, and the page says so.
      let text, note = '';
      try {
        text = new TextDecoder('utf-8', { fatal: true }).decode(bytes);
      } catch (_) {
        text = new TextDecoder('gb18030').decode(bytes);
        note = '（文件不是UTF-8编码，已按GB18030读取。）';
      }
      runBatch(text);
      $('batchStatus').textContent += note;
    });
    $('batchCsv').addEventListener('click', () => {
      const r = calc(['--batch', '-', '--bom'], batchInput);
      download('计算成果.csv', r.outBytes, 'text/csv');
    });
    $('batchSheet').addEventListener('click', () => openAid('全渠计算书', (body) => {
      const r = calcToFile(['sheet', '--batch', '-', ...reachArgs(), ...criteriaArgs()], '--html', batchInput);
      if (!r.file) { notice(body, r.err.trim()); return; }
      const preview = el('iframe', { id: 'canalPreview', title: '全渠计算书预览', className: 'preview' });
      preview.setAttribute('sandbox', 'allow-same-origin');
      preview.srcdoc = r.file;
      body.append(preview, el('div', { className: 'buttons' }, [
        button('canalPrint', '打印…', () => printHtml(r.file)),
        button('canalSave', '保存HTML…', () => download('全渠计算书.html', r.file, 'text/html')),
      ]));
    }));
  }

  // --- start -------------------------------------------------------------

  function wire() {
    $('calcForm').addEventListener('submit', (e) => { e.preventDefault(); calculate(); });
    $('Back').addEventListener('click', goBack);
    $('aidClose').addEventListener('click', () => $('aid').close());
    $('drawingButton').addEventListener('click', () => openAid('断面图', showDrawing));
    $('fitButton').addEventListener('click', () => openAid('选型', showFit));
    $('ratingButton').addEventListener('click', () => openAid('水位流量关系', showRating));
    $('sheetButton').addEventListener('click', () => openAid('计算书', showSheet));
    $('aidsButton').addEventListener('click', () => openAid('按坡度/流量选型', showDesignAids));
    buildBatch();
  }

  VeltraneModule().then((module) => {
    core = module;
    catalogue = JSON.parse(core.catalogue());
    buildChoice();
    wire();
    // How long the page took to be ready to calculate, for the browser test.
    document.body.dataset.readyMs = performance.now().toFixed(0);
    document.body.dataset.ready = 'true';
    const chosen = selectedOption();
    if (chosen) chosen.focus();
  });
})();
