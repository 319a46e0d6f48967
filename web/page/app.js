// SPDX-License-Identifier: GPL-3.0-or-later
// The page over the WebAssembly module: the section choice, the calculation
// with its Yes/No messages, the design aids, the sheet and the batch. Every
// number and text of a result comes from the module; this script only shows
// it. User texts reach the page through textContent and value, never as HTML.
'use strict';

(function () {
  const kBoxes = ['Text2', 'Text4', 'text6', 'Text7'];
  const kPreselected = 3;  // D120

  const $ = (id) => document.getElementById(id);
  let core = null;
  let catalogue = [];  // per size, all the page shows for it (see the module's Catalogue)
  let criteriaFields = [];  // [{key, label, sourceLabel}], in the sheet's order
  let sheetFields = [];  // [{key, label}]: the title block and the signatures
  let basisField = { label: '', hint: '' };
  let openSize = -1;
  // What the page remembers (see remember()): kept in the browser's storage
  // across reloads and visits until 清除保存的输入.
  let texts = [];  // per size, the four boxes' texts, kept while another size is open
  const criteria = {};  // by the fields' keys, as typed
  const reach = { basis: '' };  // by the sheet fields' keys, and the basis
  const sources = {};  // by the criteria's keys: where each comes from
  // The water surface panel's reaches (rows of texts by the canal file's
  // columns) and its conditions, as typed; the smallest freeboard is the
  // sheet's criterion.
  const profileState = { rows: [], factor: '', end: 'normal', level: '', spacing: '100' };
  let profileWords = null;  // the panel's words, columns and headings, from the catalogue
  // The user's sections: rows of texts by the catalogue file's columns, as
  // typed. Sent with every request that runs over all sections or reads a
  // size column; the module refuses such a request while the table has a
  // problem, and says which.
  let sectionRows = [];
  let sectionWords = null;  // the form's words and columns, from the catalogue

  // --- the module --------------------------------------------------------

  // The module's one entry: op and a plain object of texts, numbers and a
  // file's bytes; the answer, parsed. Any answer may be {refusal: text}.
  function request(op, args) {
    return JSON.parse(core.request(op, args || {}));
  }

  function boxTexts() {
    return Object.fromEntries(kBoxes.map((b) => [b, $(b).value]));
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

  function fillTable(table, header, rows) {
    table.replaceChildren();
    const head = el('thead', null, [el('tr', null, header.map((h) => el('th', { scope: 'col', text: h })))]);
    const body = document.createElement('tbody');
    const frag = document.createDocumentFragment();
    for (const r of rows) frag.append(el('tr', null, r.map((c) => el('td', { text: c }))));
    body.append(frag);
    table.append(head, body);
  }

  // A drawing of the module's (answer.svg), never narrower than its
  // readableWidth, at which its smallest label is still readable: on a phone
  // the drawing scrolls sideways in its frame rather than shrinking.
  function svgImage(answer, label) {
    const img = el('img', { alt: label, className: 'drawing' });
    img.src = 'data:image/svg+xml;charset=utf-8,' + encodeURIComponent(answer.svg);
    const frame = el('div', { className: 'drawingFrame', tabIndex: 0, role: 'group', 'aria-label': label }, [img]);
    if (answer.readableWidth > 0) {
      img.style.minWidth = answer.readableWidth + 'px';
      // Beside a table, it goes below the table where both do not fit.
      frame.style.flexBasis = answer.readableWidth + 'px';
    }
    return frame;
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

  // --- what the page remembers -------------------------------------------

  // One item in localStorage, JSON: {size, texts: [per size {Text2, …}],
  // reach, criteria, sources}, all texts as typed. Storage may be switched
  // off, full or hold anything: every use is guarded, a stored value is taken
  // only where it is text in a known place, and a failure only means that
  // nothing is remembered.
  const kStorageKey = 'veltrane.page';

  function storage() {
    try {
      return window.localStorage;
    } catch (e) {
      return null;  // a browser that refuses storage to this page
    }
  }

  function remember() {
    const store = storage();
    if (!store) return;
    const chosen = selectedOption();
    try {
      store.setItem(kStorageKey, JSON.stringify({
        size: chosen ? Number(chosen.value) : kPreselected, texts, reach, criteria, sources,
        profile: profileState, sections: sectionRows,
      }));
    } catch (e) {
      // Full or refused: the page goes on without remembering.
    }
  }

  // Takes from saved[key] each text that target has a key for.
  function takeTexts(target, saved) {
    if (!saved || typeof saved !== 'object') return;
    for (const key of Object.keys(target)) {
      if (typeof saved[key] === 'string') target[key] = saved[key];
    }
  }

  function recall() {
    const store = storage();
    let saved = null;
    try {
      saved = store && JSON.parse(store.getItem(kStorageKey));
    } catch (e) {
      saved = null;  // unreadable: as if nothing were saved
    }
    if (!saved || typeof saved !== 'object') return;
    if (Array.isArray(saved.texts)) texts.forEach((t, i) => takeTexts(t, saved.texts[i]));
    takeTexts(reach, saved.reach);
    takeTexts(criteria, saved.criteria);
    takeTexts(sources, saved.sources);
    recallProfile(saved.profile);
    const goodSection = (r) => Array.isArray(r) && r.length === sectionWords.columns.length &&
      r.every((c) => typeof c === 'string');
    if (Array.isArray(saved.sections) && saved.sections.length <= kMostRemembered &&
        saved.sections.every(goodSection)) {
      sectionRows = saved.sections.map((r) => r.slice());
    }
    const option = Number.isInteger(saved.size) && $('Option' + (saved.size + 1));
    if (option) option.checked = true;
  }

  // The panel's reaches and conditions where they are what the page stores:
  // rows of texts, at most kMostRemembered of them, and a known end.
  const kMostRemembered = 10000;

  function recallProfile(saved) {
    if (!saved || typeof saved !== 'object') return;
    const columns = profileWords.columns.length;
    const goodRow = (r) => Array.isArray(r) && r.length === columns && r.every((c) => typeof c === 'string');
    if (Array.isArray(saved.rows) && saved.rows.length <= kMostRemembered && saved.rows.every(goodRow)) {
      profileState.rows = saved.rows.map((r) => r.slice());
    }
    takeTexts(profileState, { ...saved, rows: undefined });
    if (!profileWords.ends.some((e) => e.value === profileState.end)) profileState.end = 'normal';
  }

  // 清除保存的输入: the stored item goes, and the page is as on its first
  // visit: every size's defaults (also in the boxes on screen), empty sheet
  // details and criteria, D120 chosen.
  function forget() {
    const store = storage();
    try {
      if (store) store.removeItem(kStorageKey);
    } catch (e) {
      // Nothing can be removed where nothing could be stored.
    }
    catalogue.forEach((s, i) => { texts[i] = { ...s.defaults }; });
    for (const store of [reach, criteria, sources]) for (const key of Object.keys(store)) store[key] = '';
    Object.assign(profileState, { rows: [], factor: '', end: 'normal', level: '', spacing: '100' });
    sectionRows = [];
    showSectionCount();
    $('Option' + (kPreselected + 1)).checked = true;
    if (openSize >= 0) for (const b of kBoxes) $(b).value = texts[openSize][b];
    $('forgetStatus').textContent = '已清除保存的输入。';
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
    options.addEventListener('change', remember);
  }

  function selectedOption() {
    return document.querySelector('input[name=size]:checked');
  }

  // --- the calculation ---------------------------------------------------

  function saveTexts() {
    if (openSize < 0) return;
    for (const b of kBoxes) texts[openSize][b] = $(b).value;
    remember();
  }

  // The calculation view is a step in the tab's history, so that Back (a
  // phone's gesture, the browser's button) returns to the size choice rather
  // than leaving the page, and a reload comes back to the same view.
  // fromHistory: the view is shown for an entry that is already there.
  let leaving = false;  // our own step back is under way
  let pendingSize = -1;  // a view opened meanwhile, to be pushed after it

  function openCalculation(size, fromHistory) {
    saveTexts();
    if (!fromHistory) {
      if (leaving) pendingSize = size;
      else history.pushState({ view: 'calculation', size }, '');
    }
    openSize = size;
    const s = catalogue[size];
    $('Label2').textContent = s.sizeLabel;
    for (const b of kBoxes) {
      document.querySelector('label[for="' + b + '"]').textContent = s.labels[b];
      $(b).value = texts[size][b];
    }
    $('Text2').maxLength = s.dischargeMaxLength;
    $('Text7').title = s.factorTooltip;
    $('Text1').readOnly = !s.reportEditable;
    $('choice').hidden = true;
    $('calculation').hidden = false;
    $('Text1').value = catalogue[size].reportHeader;
    document.title = catalogue[size].sizeLabel + ' · Veltrane';
    // Where the window puts the focus: 计算, or U140's report box.
    ($(s.firstFocus) || $('Command1')).focus();
  }

  // 返回, 否, Esc and Back: the size choice. A step of our own in the history
  // is undone, so that Back from the choice leaves the page.
  function goBack(fromHistory) {
    saveTexts();
    if (!fromHistory && history.state && history.state.view === 'calculation') {
      leaving = true;
      pendingSize = -1;
      history.back();
    }
    openSize = -1;
    $('calculation').hidden = true;
    $('choice').hidden = false;
    document.title = 'Veltrane 装配式U形渠道水力计算';
    const chosen = selectedOption();
    if (chosen) chosen.focus();
  }

  function calculate() {
    const outcome = request('calculate', { size: openSize, boxes: boxTexts() });
    if (outcome.refusal !== undefined) {
      $('Text1').value = outcome.refusal;
      return;
    }
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
      saveTexts();
    });
  }

  // The history's entry changed under the page (Back, Forward, or our own
  // step back arriving): show the view it stands for.
  function onHistory(e) {
    if (leaving) {
      leaving = false;
      if (pendingSize >= 0) history.pushState({ view: 'calculation', size: pendingSize }, '');
      pendingSize = -1;
      return;
    }
    const state = e.state;
    const size = state && state.view === 'calculation' ? state.size : -1;
    // Back while a message asks is its 否, which returns to the choice too;
    // a dialog over the view closes with it.
    if ($('message').open) {
      answerMessage(false);
      return;
    }
    if ($('aid').open) $('aid').close();
    if (Number.isInteger(size) && catalogue[size]) openCalculation(size, true);
    else if (openSize >= 0) goBack(true);
  }

  // Esc in the calculation view presses what the window's Esc presses:
  // 返回 in U60, U80 and U120. In U100 and U140 it presses 退出, which ends
  // the program; a page cannot end itself, so there Esc does nothing. A
  // dialog on top takes its own Esc (the message keeps it from everything).
  function onCalculationKey(e) {
    if (e.key !== 'Escape' || e.ctrlKey || e.altKey || e.metaKey || e.shiftKey) return;
    if ($('calculation').hidden || $('message').open || $('aid').open) return;
    e.preventDefault();
    if (catalogue[openSize].escape === 'back') goBack();
  }

  // 复制计算成果: the report box's text with CR LF line breaks, as the
  // program's report menu copies it. The copy event carries the text as it
  // stands (a textarea's selection would turn CR LF back into LF); the
  // asynchronous clipboard is tried first where the browser allows it.
  function copyReport() {
    const text = $('Text1').value.replace(/\r?\n/g, '\r\n');
    const byCopyEvent = () => {
      const onCopy = (e) => {
        e.clipboardData.setData('text/plain', text);
        e.preventDefault();
      };
      document.addEventListener('copy', onCopy, { once: true });
      document.execCommand('copy');
      document.removeEventListener('copy', onCopy);
    };
    if (navigator.clipboard && navigator.clipboard.writeText) {
      navigator.clipboard.writeText(text).catch(byCopyEvent);
    } else {
      byCopyEvent();
    }
  }

  // The Yes/No message: Enter answers the focused button (是 at first), Y
  // answers Yes and N No. Esc does nothing, as a message has no third
  // answer. Chromium closes a modal dialog on a second Esc even when its
  // cancel event is prevented, so Esc is stopped at keydown, and a message
  // closed any other way while unanswered opens again. Only the message on
  // screen can be answered: the listeners are set once, and there is one
  // pending answer at a time.
  let pendingAnswer = null;  // resolves the message on screen; null when none is

  function ask(text) {
    const dialog = $('message');
    $('messageText').textContent = text;
    return new Promise((resolve) => {
      pendingAnswer = resolve;
      if (!dialog.open) dialog.showModal();
      $('Yes').focus();
    });
  }

  function answerMessage(yes) {
    const resolve = pendingAnswer;
    if (!resolve) return;
    pendingAnswer = null;
    $('message').close();
    resolve(yes);
  }

  function wireMessage() {
    const dialog = $('message');
    // On the window, before anything in the page: the focus may have left
    // the buttons (a click on the message's text), and Esc must still not
    // reach the dialog.
    window.addEventListener('keydown', (e) => {
      if (!pendingAnswer || e.ctrlKey || e.altKey || e.metaKey) return;
      if (e.key === 'Escape') { e.preventDefault(); e.stopPropagation(); }
      else if (e.key === 'y' || e.key === 'Y') { e.preventDefault(); answerMessage(true); }
      else if (e.key === 'n' || e.key === 'N') { e.preventDefault(); answerMessage(false); }
    }, true);
    dialog.addEventListener('cancel', (e) => e.preventDefault());
    dialog.addEventListener('close', () => {
      if (!pendingAnswer) return;
      dialog.showModal();
      $('Yes').focus();
    });
    $('Yes').addEventListener('click', () => answerMessage(true));
    $('No').addEventListener('click', () => answerMessage(false));
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
    body.append(el('p', { className: 'rejected lines', role: 'alert', text }));
  }

  function sizeName() {
    return catalogue[openSize].name;
  }

  // As the program's drawing: a rejected text shows its message; a depth
  // above the channel is drawn, and the panel says so.
  function showDrawing(body) {
    const view = request('drawing', { size: openSize, boxes: boxTexts() });
    if (refused(body, view)) return;
    body.append(svgImage(view, '断面图'));
    const base = '断面图-' + sizeName();
    body.append(el('div', { className: 'buttons' }, [
      button('saveSvg', '保存SVG…', () => download(base + '.svg', view.svg, 'image/svg+xml')),
      button('savePng', '保存PNG…', () => savePng(view, base + '.png')),
    ]));
  }

  // The drawing as PNG at the size the module gives (the program's: two
  // pixels a unit of the view box), on white, with the labels in the
  // page's Song faces as the browser draws them.
  function savePng(view, name) {
    const img = new Image();
    img.onload = () => {
      const canvas = el('canvas', { width: view.png.width, height: view.png.height });
      const g = canvas.getContext('2d');
      g.fillStyle = '#fff';
      g.fillRect(0, 0, canvas.width, canvas.height);
      g.drawImage(img, 0, 0, canvas.width, canvas.height);
      canvas.toBlob((png) => { if (png) download(name, png, 'image/png'); }, 'image/png');
    };
    img.src = 'data:image/svg+xml;charset=utf-8,' + encodeURIComponent(view.svg);
  }

  // An answer that refuses (refused criteria, a size out of range) or gives
  // a calculation's message: says so in body, and is true.
  function refused(body, answer) {
    if (answer.refusal !== undefined) notice(body, answer.refusal);
    else if (answer.message) notice(body, answer.message.text);
    else return false;
    return true;
  }

  // As the program's 选型 dialog, with the five sections drawn below.
  function showFit(body) {
    const fit = request('fit', { boxes: boxTexts(), criteria, sections: sectionRows });
    if (refused(body, fit)) return;
    const table = el('table', { id: 'fitTable', className: 'grid' });
    fillTable(table, fit.headings, fit.rows);
    body.append(el('div', { className: 'scroll' }, [table]), el('p', { id: 'smallest', text: fit.verdict }));
    if (fit.note) body.append(el('p', { className: 'hint', text: fit.note }));
    body.append(svgImage(fit, '五种断面的断面图'));
  }

  function showRating(body) {
    const view = request('rating', { size: openSize, boxes: boxTexts() });
    if (refused(body, view)) return;
    const table = el('table', { id: 'ratingTable', className: 'grid' });
    fillTable(table, view.headings, view.rows);
    body.append(el('div', { className: 'split' }, [
      el('div', { className: 'scroll tall' }, [table]),
      svgImage(view, '水位流量关系曲线'),
    ]));
    body.append(el('div', { className: 'buttons' }, [
      button('ratingCsv', '导出CSV…', () => download('水位流量关系-' + sizeName() + '.csv', view.csv, 'text/csv')),
    ]));
  }

  // The sheet: the reach's details and the criteria (remembered),
  // then the preview, 打印 and 保存HTML. While a criterion is refused the
  // preview says so instead, and nothing can be printed or saved.
  function showSheet(body) {
    const form = el('form', { id: 'sheetForm', className: 'details', noValidate: true });
    const fields = [
      ...sheetFields.map((f) => [f.key, f.label, reach]),
      ...criteriaFields.flatMap((f) => [[f.key, f.label, criteria],
        ...(f.sourceLabel ? [[f.key, f.sourceLabel, sources]] : [])]),
    ];
    const problem = el('p', { id: 'sheetProblem', className: 'rejected', role: 'alert' });
    const preview = el('iframe', { id: 'sheetPreview', title: '计算书预览', className: 'preview' });
    preview.setAttribute('sandbox', 'allow-same-origin');
    const instead = el('p', { id: 'sheetInstead', className: 'preview instead', hidden: true });
    let html = '';
    let refusal = '';
    const show = (answer) => {
      refusal = answer.refusal !== undefined ? answer.refusal : '';
      problem.textContent = refusal;
      instead.textContent = answer.instead || '';
      instead.hidden = !refusal;
      preview.hidden = !!refusal;
      $('sheetPrint').disabled = $('sheetSave').disabled = !!refusal;
    };
    const make = () => {
      const answer = request('sheet', { size: openSize, boxes: boxTexts(), reach, criteria, sources });
      html = answer.html || '';
      show(answer);
      if (html) preview.srcdoc = html;
    };
    // A criterion is read as it is typed: a refusal shows at once, and a
    // corrected one brings the preview back.
    const check = () => {
      const answer = request('criteria', { criteria });
      if (answer.refusal !== undefined) {
        html = '';
        show(answer);
      } else if (refusal) {
        make();
      }
    };
    // What is printed or saved is the sheet of the form as it stands now.
    // Invoked while refused (a keyboard shortcut, a script), nothing happens
    // but the reason, said again.
    const withSheet = (act) => () => {
      make();
      if (!refusal && html) act(html);
    };
    for (const [key, label, store] of fields) {
      const id = 'sheet_' + key + (store === sources ? '_source' : '');
      const input = el('input', { id, type: 'text', value: store[key], autocomplete: 'off' });
      if (key === 'date') input.placeholder = '今天';
      input.addEventListener('input', () => {
        store[key] = input.value;
        remember();
        if (store === criteria) check();
      });
      form.append(el('label', { htmlFor: input.id, text: label }), input);
    }
    const basis = el('textarea', { id: 'sheet_basis', rows: 3, value: reach.basis, placeholder: basisField.hint });
    basis.addEventListener('input', () => {
      reach.basis = basis.value;
      remember();
    });
    form.append(el('label', { htmlFor: basis.id, text: basisField.label }), basis);
    form.addEventListener('submit', (e) => { e.preventDefault(); make(); });
    form.append(el('div', { className: 'buttons' }, [
      el('button', { id: 'sheetUpdate', type: 'submit', text: '更新预览' }),
      button('sheetPrint', '打印…', withSheet(printHtml)),
      button('sheetSave', '保存HTML…', withSheet((h) => download('计算书-' + sizeName() + '.html', h, 'text/html'))),
    ]));
    body.append(form, problem, instead, preview);
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
  // the program's words; the selection table and its chart.
  function showDesignAids(body) {
    const q = $('Text2').value, x = $('Text4').value, n = $('text6').value, k = $('Text7').value;
    const problem = el('p', { id: 'aidProblem', className: 'rejected', role: 'alert' });
    const out = el('pre', { id: 'aidOutput', className: 'output', tabIndex: 0 });
    const note = el('p', { id: 'aidNote', className: 'hint' });
    const extra = el('div');
    // Shows an answer's refusal or message, or clears them; true when it is one.
    const refusedHere = (answer) => {
      extra.replaceChildren();
      out.textContent = note.textContent = '';
      problem.textContent = answer.refusal !== undefined ? answer.refusal
        : answer.message ? answer.message.text : '';
      return problem.textContent !== '';
    };
    const answer = (key) => {
      const j = request('designAids', { size: openSize, boxes: boxTexts(), criteria });
      if (refusedHere(j)) return;
      out.textContent = j[key];
      note.textContent = j.note || '';
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
          const t = request('selectTable', {
            roughness: n, factor: k, slopes: slopes.value, criteria, sections: sectionRows,
          });
          if (refusedHere(t)) return;
          const table = el('table', { id: 'selectTable', className: 'grid' });
          fillTable(table, t.headings, t.rows);
          note.textContent = t.note || '';
          extra.append(el('div', { className: 'scroll' }, [table]), svgImage(t, '选型图'));
        }),
      ]),
      problem, out, note, extra);
  }

  // --- the water surface ---------------------------------------------------

  // As the program's 水面线 dialog: a table of reaches, upstream first, with
  // the window's reach as its first row; the downstream end, the spacing and
  // the smallest freeboard; 计算 fills the station tables, the drawing and
  // the checks. The exports are of the last run, and only while nothing it
  // was made from has changed.
  function showProfile(body) {
    const w = profileWords;
    const state = profileState;
    const column = (key) => w.columns.findIndex((c) => c.key === key);
    const emptyRow = () => w.columns.map(() => '');
    if (!state.rows.length) {
      state.rows.push(emptyRow());
      state.factor = $('Text7').value.trim();
    }
    const first = state.rows[0];
    first[column('size')] = sizeName();
    first[column('slope')] = $('Text4').value.trim();
    first[column('roughness')] = $('text6').value.trim();
    first[column('discharge')] = $('Text2').value.trim();
    remember();

    let current = 0;  // the row 添加, 删除, 上移 and 下移 act on
    let last = null;  // the last run's answer; null once anything changes
    const form = el('form', { id: 'profileForm', noValidate: true });
    const problem = el('p', { id: 'profileProblem', className: 'rejected lines', role: 'alert' });
    const exportButtons = [];
    const stale = () => {
      last = null;
      for (const b of exportButtons) b.disabled = true;
      remember();
    };

    // The reaches.
    const table = el('table', { id: 'reachTable', className: 'grid edit', 'aria-label': w.reachTable });
    table.append(el('thead', null, [el('tr', null, w.columns.map((c) => el('th', { scope: 'col', text: c.heading })))]),
      document.createElement('tbody'));
    // A row's inputs find their row when they are used, so that adding,
    // removing and moving touch only the rows concerned: a canal of a
    // thousand reaches stays quick to edit.
    const rowsBody = table.tBodies[0];
    const markCurrent = (r) => {
      rowsBody.rows[current]?.classList.remove('current');
      current = r;
      rowsBody.rows[current]?.classList.add('current');
    };
    const makeRow = (row) => {
      const tr = el('tr');
      row.forEach((text, c) => {
        const input = el('input', {
          type: 'text', value: text, autocomplete: 'off', spellcheck: false,
          size: w.columns[c].key === 'name' ? 10 : 7, 'aria-label': w.columns[c].heading,
        });
        input.addEventListener('input', () => {
          state.rows[tr.sectionRowIndex][c] = input.value;
          stale();
        });
        input.addEventListener('focus', () => markCurrent(tr.sectionRowIndex));
        tr.append(el('td', null, [input]));
      });
      return tr;
    };
    const renderRows = () => {
      rowsBody.replaceChildren(...state.rows.map(makeRow));
      markCurrent(Math.min(current, state.rows.length - 1));
    };
    const focusedColumn = () => {
      const cell = document.activeElement && document.activeElement.closest && document.activeElement.closest('#reachTable td');
      return cell ? cell.cellIndex : 0;
    };
    const focusCell = (r, c) => rowsBody.rows[r].cells[c].firstChild.focus();
    const showRow = (r) => {
      Array.from(rowsBody.rows[r].cells).forEach((cell, c) => { cell.firstChild.value = state.rows[r][c]; });
    };
    const move = (to) => {
      if (to < 0 || to >= state.rows.length) return;
      const from = current;
      const column = focusedColumn();
      [state.rows[from], state.rows[to]] = [state.rows[to], state.rows[from]];
      showRow(from);
      showRow(to);
      markCurrent(to);
      focusCell(to, column);
      stale();
    };
    const fileInput = el('input', { id: 'profileFile', type: 'file', accept: '.csv,text/csv' });
    fileInput.addEventListener('change', async () => {
      const file = fileInput.files[0];
      if (!file) return;
      const answer = request('profileRows', {
        bytes: new Uint8Array(await file.arrayBuffer()), name: file.name, sections: sectionRows,
      });
      fileInput.value = '';
      problem.textContent = answer.refusal !== undefined ? answer.refusal : answer.notice;
      if (answer.refusal !== undefined) return;
      state.rows = answer.rows;
      current = 0;
      renderRows();
      stale();
    });
    const rowButtons = el('div', { className: 'buttons left' }, [
      button('addReach', w.add, () => {
        const at = current + 1;
        state.rows.splice(at, 0, emptyRow());
        rowsBody.insertBefore(makeRow(state.rows[at]), rowsBody.rows[at] || null);
        markCurrent(at);
        focusCell(at, 0);
        stale();
      }),
      button('removeReach', w.remove, () => {
        if (state.rows.length <= 1) return;  // one reach at least
        const column = focusedColumn();
        state.rows.splice(current, 1);
        rowsBody.rows[current].remove();
        current = Math.min(current, state.rows.length - 1);
        markCurrent(current);
        focusCell(current, column);
        stale();
      }),
      button('moveUp', w.up, () => move(current - 1)),
      button('moveDown', w.down, () => move(current + 1)),
      el('label', { className: 'file' }, [el('span', { text: w.importCsv }), fileInput]),
      button('exportReaches', w.exportReaches, () => {
        const answer = request('reachesCsv', { rows: state.rows });
        if (answer.csv !== undefined) download(w.reachesFile, answer.csv, 'text/csv');
      }),
    ]);

    // The conditions.
    const conditions = el('div', { className: 'details' });
    const field = (id, label, value, onInput, props) => {
      const input = el('input', { id, type: 'text', value, autocomplete: 'off', inputMode: 'decimal', ...props });
      input.addEventListener('input', () => {
        onInput(input.value);
        stale();
      });
      conditions.append(el('label', { htmlFor: id, text: label }), input);
      return input;
    };
    field('profileFactor', w.factor, state.factor, (v) => { state.factor = v; });
    const end = el('select', { id: 'profileEnd' }, w.ends.map((e) => el('option', { value: e.value, text: e.label })));
    end.value = state.end;
    const level = el('input', {
      id: 'profileLevel', type: 'text', value: state.level, autocomplete: 'off', inputMode: 'decimal',
      placeholder: w.level, 'aria-label': w.level, disabled: state.end !== 'level',
    });
    end.addEventListener('change', () => {
      state.end = end.value;
      level.disabled = end.value !== 'level';
      stale();
    });
    level.addEventListener('input', () => {
      state.level = level.value;
      stale();
    });
    conditions.append(el('label', { htmlFor: end.id, text: w.end }), el('span', { className: 'pair' }, [end, level]));
    field('profileSpacing', w.spacing, state.spacing, (v) => { state.spacing = v; });
    field('profileFreeboard', w.minFreeboard, criteria['min-freeboard'], (v) => { criteria['min-freeboard'] = v; },
      { placeholder: w.noCheck });

    // The results: a tab each for the flows' stations and the drawing.
    const results = el('div', { id: 'profileResults', hidden: true });
    const tabs = el('div', { className: 'tabs', role: 'tablist' });
    const panels = el('div');
    const checks = el('ul', { id: 'profileChecks', className: 'checks' });
    results.append(tabs, panels, checks);
    const showTab = (i) => {
      Array.from(tabs.children).forEach((t, k) => t.setAttribute('aria-selected', String(k === i)));
      Array.from(panels.children).forEach((p, k) => { p.hidden = k !== i; });
    };
    const showResults = (answer) => {
      const names = [...answer.stations.map((t) => t.flow), w.drawing];
      tabs.replaceChildren(...names.map((name, i) => {
        const tab = el('button', { type: 'button', role: 'tab', id: 'profileTab' + i, text: name });
        tab.addEventListener('click', () => showTab(i));
        return tab;
      }));
      panels.replaceChildren(...answer.stations.map((t, i) => {
        const grid = el('table', { id: 'stations' + i, className: 'grid' });
        fillTable(grid, w.stationHeadings, t.rows);
        for (const r of t.overtops) grid.tBodies[0].rows[r].classList.add('over');
        return el('div', { className: 'scroll tall', role: 'tabpanel', 'aria-labelledby': 'profileTab' + i }, [grid]);
      }), el('div', { role: 'tabpanel', 'aria-labelledby': 'profileTab' + answer.stations.length },
        [svgImage(answer, w.drawing)]));
      checks.replaceChildren(...answer.checks.map((line) => el('li', { text: line })));
      results.hidden = false;
      showTab(0);
    };

    const compute = () => {
      const answer = request('profile', {
        rows: state.rows, factor: state.factor, end: state.end, level: state.level, spacing: state.spacing,
        criteria: { 'min-freeboard': criteria['min-freeboard'] }, reach, sources, sections: sectionRows,
      });
      stale();
      if (answer.refusal !== undefined) {
        problem.textContent = answer.refusal;
        return;
      }
      problem.textContent = '';
      showResults(answer);
      last = answer;
      for (const b of exportButtons) b.disabled = false;
    };
    form.addEventListener('submit', (e) => { e.preventDefault(); compute(); });
    const withRun = (act) => () => { if (last) act(last); };
    exportButtons.push(
      button('profilePrint', '打印…', withRun((a) => printHtml(a.html))),
      button('profileHtml', w.html, withRun((a) => download(w.sheetFile + '.html', a.html, 'text/html'))),
      button('profileCsv', w.csv, withRun((a) => download(w.stationsFile, a.csv, 'text/csv'))),
      button('profileSvg', w.svg, withRun((a) => download(w.drawingFile + '.svg', a.svg, 'image/svg+xml'))),
    );
    stale();
    form.append(
      el('p', { className: 'hint', text: w.reaches }),
      el('div', { className: 'scroll' }, [table]),
      rowButtons,
      conditions,
      el('div', { className: 'buttons left' }, [
        el('button', { id: 'profileCompute', type: 'submit', text: w.compute }), ...exportButtons]),
    );
    body.append(form, problem, results);
    renderRows();
  }

  // --- the user's sections ---------------------------------------------

  // What the page says of the table under 自定义断面: how many sections it
  // defines, none, or that it has problems (the requests that use it say
  // which).
  function showSectionCount() {
    const status = $('sectionsStatus');
    if (!sectionRows.length) {
      status.textContent = sectionWords.none;
      return;
    }
    const answer = request('sections', { sections: sectionRows });
    status.textContent = answer.refusal !== undefined ? answer.refusal.split('\n')[0]
      : sectionWords.countBefore + answer.sections.length + sectionWords.countAfter;
  }

  // A table of sections as the catalogue file has them, 添加 and 删除 on
  // the row last in focus, the file's import and export; 检查 (or Enter)
  // says every problem by row, or lists the sections with their dimensions
  // as the sheet will quote them. Every edit is remembered as typed.
  function showSections(body) {
    const w = sectionWords;
    const emptyRow = () => w.columns.map(() => '');
    let current = 0;
    const form = el('form', { id: 'sectionsForm', noValidate: true });
    const problem = el('p', { id: 'sectionsProblem', className: 'rejected lines', role: 'alert' });
    const listed = el('div', { id: 'sectionsListed' });
    const table = el('table', { id: 'sectionsTable', className: 'grid edit', 'aria-label': w.table });
    table.append(el('thead', null, [el('tr', null, w.columns.map((c) => el('th', { scope: 'col', text: c.heading })))]),
      document.createElement('tbody'));
    const rowsBody = table.tBodies[0];
    const edited = () => {
      listed.replaceChildren();
      remember();
      showSectionCount();
    };
    const markCurrent = (r) => {
      rowsBody.rows[current]?.classList.remove('current');
      current = r;
      rowsBody.rows[current]?.classList.add('current');
    };
    const makeRow = (row) => {
      const tr = el('tr');
      row.forEach((text, c) => {
        const input = el('input', {
          type: 'text', value: text, autocomplete: 'off', spellcheck: false,
          size: c === 0 ? 12 : 6, 'aria-label': w.columns[c].heading,
        });
        input.addEventListener('input', () => {
          sectionRows[tr.sectionRowIndex][c] = input.value;
          edited();
        });
        input.addEventListener('focus', () => markCurrent(tr.sectionRowIndex));
        tr.append(el('td', null, [input]));
      });
      return tr;
    };
    const renderRows = () => {
      rowsBody.replaceChildren(...sectionRows.map(makeRow));
      markCurrent(Math.min(current, Math.max(sectionRows.length - 1, 0)));
    };
    const check = () => {
      listed.replaceChildren();
      problem.textContent = '';
      if (!sectionRows.length) {
        listed.append(el('p', { className: 'hint', text: w.none }));
        return;
      }
      const answer = request('sections', { sections: sectionRows });
      if (answer.refusal !== undefined) {
        problem.textContent = answer.refusal;
        return;
      }
      const grid = el('table', { id: 'sectionsChecked', className: 'grid' });
      const headings = [$('dimensionTable').tHead.rows[0].cells].flatMap((c) => Array.from(c, (th) => th.textContent));
      fillTable(grid, headings, answer.sections.map((s) => [s.name, ...s.dimensions.map((d, i) =>
        (d || '—') + (i === 1 && s.topComputed ? w.computed : ''))]));
      listed.append(el('p', { className: 'hint', text: w.countBefore + answer.sections.length + w.countAfter }),
        el('div', { className: 'scroll' }, [grid]), el('p', { className: 'hint', text: w.units }));
    };
    const fileInput = el('input', { id: 'sectionsFile', type: 'file', accept: '.csv,text/csv' });
    fileInput.addEventListener('change', async () => {
      const file = fileInput.files[0];
      if (!file) return;
      const answer = request('sectionRows', { bytes: new Uint8Array(await file.arrayBuffer()), name: file.name });
      fileInput.value = '';
      if (answer.refusal !== undefined) {
        listed.replaceChildren();
        problem.textContent = answer.refusal;
        return;
      }
      sectionRows = answer.rows;
      current = 0;
      renderRows();
      edited();
      check();
      if (answer.notice) problem.textContent = answer.notice;
    });
    const buttons = el('div', { className: 'buttons left' }, [
      button('addSection', w.add, () => {
        const at = sectionRows.length ? current + 1 : 0;
        sectionRows.splice(at, 0, emptyRow());
        rowsBody.insertBefore(makeRow(sectionRows[at]), rowsBody.rows[at] || null);
        markCurrent(at);
        rowsBody.rows[at].cells[0].firstChild.focus();
        edited();
      }),
      button('removeSection', w.remove, () => {
        if (!sectionRows.length) return;
        sectionRows.splice(current, 1);
        rowsBody.rows[current].remove();
        markCurrent(Math.min(current, Math.max(sectionRows.length - 1, 0)));
        rowsBody.rows[current]?.cells[0].firstChild.focus();
        edited();
      }),
      el('label', { className: 'file' }, [el('span', { text: w.importCsv }), fileInput]),
      button('exportSections', w.exportCsv, () => {
        const answer = request('sectionsCsv', { sections: sectionRows });
        if (answer.csv !== undefined) download(w.file, answer.csv, 'text/csv');
      }),
      el('button', { id: 'checkSections', type: 'submit', text: w.check }),
    ]);
    form.addEventListener('submit', (e) => { e.preventDefault(); check(); });
    form.append(el('p', { className: 'hint', text: w.intro }), el('div', { className: 'scroll' }, [table]), buttons);
    body.append(form, problem, listed);
    renderRows();
    check();
  }

  // --- the batch ---------------------------------------------------------

  // The chosen file's bytes: the module reads them as the command line reads
  // a file (a byte order mark decides; else UTF-8, else GB18030).
  let batchBytes = null;

  // The batch runs in a worker over the module's batchStream, in slices of
  // kSlice rows, so that the page answers while a long file is calculated.
  // What comes back is kept compactly: each slice's shown cells as UTF-8
  // bytes with their ends (typed arrays, moved from the worker, not copied),
  // and its lines of the download as a Blob, which the browser may keep out
  // of the page's memory. Only the rows in view become table cells.
  const kSlice = 2000;  // rows a slice: about 0.1 s of calculation, 0.2 MB of cells
  const kColumns = 16;  // the module's batch columns (its headings say so too)
  let batch = null;  // {headings, rows, slices: [{cells, ends, count}], csv: [Blob], csvHead}
  let batchWorker = null;
  let batchRun = 0;  // the run the worker's messages belong to

  // The worker: the module's own script (the page's first script, inlined)
  // and batchWorkerMain, from a Blob, so that the page stays one file.
  function batchWorkerMain() {
    const ready = VeltraneModule();
    self.onmessage = (e) => {
      const { run, bytes, slice, sections } = e.data;
      ready.then((core) => {
        const answer = JSON.parse(core.request('batchStream', {
          bytes, slice, sections,
          onSlice: (s) => {
            // s.cells and s.ends look into the module's memory: copied here.
            const cells = new Uint8Array(s.cells);
            const ends = new Uint32Array(s.ends);
            self.postMessage({ run, kind: 'slice', csv: new Blob([s.csv]), cells, ends, count: s.count,
              line: s.line, lines: s.lines }, [cells.buffer, ends.buffer]);
          },
        }));
        self.postMessage({ run, kind: 'done', answer });
      });
    };
  }

  function startWorker() {
    if (batchWorker) return batchWorker;
    try {
      const source = new Blob([$('core').textContent, '\n(', batchWorkerMain.toString(), ')();\n'],
        { type: 'text/javascript' });
      const url = URL.createObjectURL(source);
      batchWorker = new Worker(url);
      URL.revokeObjectURL(url);
      batchWorker.onmessage = (e) => onBatchMessage(e.data);
    } catch (e) {
      batchWorker = null;  // no worker here: the page calculates itself (see runBatch)
    }
    return batchWorker;
  }

  function showRunning(running) {
    $('batchRunning').hidden = !running;
    $('batchCsv').disabled = $('batchSheet').disabled = running || !batch;
  }

  function runBatch(bytes) {
    cancelBatch(false);
    batchBytes = bytes;
    batch = null;
    renderBatch();
    const run = ++batchRun;
    const started = performance.now();
    batchStarted = started;
    $('batchStatus').textContent = '正在计算……';
    $('batchProgress').value = 0;
    showRunning(true);
    const worker = startWorker();
    if (worker) {
      worker.postMessage({ run, bytes, slice: kSlice, sections: sectionRows });
      return;
    }
    const answer = request('batchStream', {
      bytes, slice: kSlice, sections: sectionRows,
      onSlice: (s) => onBatchMessage({ run, kind: 'slice', csv: new Blob([s.csv]), cells: new Uint8Array(s.cells),
        ends: new Uint32Array(s.ends), count: s.count, line: s.line, lines: s.lines }),
    });
    onBatchMessage({ run, kind: 'done', answer });
  }
  let batchStarted = 0;

  function onBatchMessage(m) {
    if (m.run !== batchRun) return;  // from a run cancelled since
    if (m.kind === 'slice') {
      if (!batch) batch = { headings: null, rows: 0, slices: [], csv: [], csvHead: '' };
      batch.slices.push({ cells: m.cells, ends: m.ends, count: m.count });
      batch.csv.push(m.csv);
      const shown = batch.rows;
      batch.rows += m.count;
      $('batchProgress').value = m.lines ? m.line / m.lines : 0;
      if (shown < visibleRows().last) renderBatch();
      else sizeBatch();
      return;
    }
    const r = m.answer;
    showRunning(false);
    if (r.refusal !== undefined) {
      batch = null;
      renderBatch();
      $('batchStatus').textContent = r.refusal;
      showRunning(false);
      return;
    }
    if (!batch) batch = { headings: null, rows: 0, slices: [], csv: [], csvHead: '' };
    batch.headings = r.headings;
    batch.csvHead = r.csvHead;
    renderBatch();
    const ms = performance.now() - batchStarted;  // the run and the table in view, as the user waits for both
    $('batchStatus').textContent = '共 ' + r.rows + ' 行，用时 ' + ms.toFixed(0) + ' ms。' + r.notice;
    $('batchStatus').dataset.ms = String(ms);
    showRunning(false);
  }

  // 取消, or a new file while one runs: the worker is ended at once (its
  // calculation cannot be interrupted otherwise) and a new one made next time.
  function cancelBatch(said) {
    if ($('batchRunning').hidden) return;
    ++batchRun;
    if (batchWorker) batchWorker.terminate();
    batchWorker = null;
    batch = null;
    renderBatch();
    showRunning(false);
    if (said) $('batchStatus').textContent = '已取消。';
  }

  // --- the batch's table: only the rows in view ----------------------------

  const decoder = new TextDecoder();
  let rowHeight = 0;  // px, measured from the first rows shown; every row is one line
  let headHeight = 0;

  function batchCells(i) {
    const slice = batch.slices[Math.floor(i / kSlice)];
    const at = (i % kSlice) * kColumns;
    const cells = [];
    for (let k = at; k < at + kColumns; ++k) {
      cells.push(decoder.decode(slice.cells.subarray(k ? slice.ends[k - 1] : 0, slice.ends[k])));
    }
    return cells;
  }

  // The rows from first to last (excluded) that the view shows, and a few more.
  // Browsers cap an element's height (Chromium near 33.5 million px, some
  // 1.7 million rows); past kTallest px the view maps its scroll position
  // onto the rows instead of giving each row its own place.
  const kTallest = 15e6;

  function fullHeight() {
    return headHeight + batch.rows * rowHeight;
  }

  function visibleRows() {
    const view = $('batchView');
    if (!batch || !rowHeight) return { first: 0, last: 40 };
    const count = Math.ceil(view.clientHeight / rowHeight) + 2;
    let first;
    if (fullHeight() <= kTallest) {
      first = Math.floor((view.scrollTop - headHeight) / rowHeight);
    } else {
      const scrolled = view.scrollTop / Math.max(1, view.scrollHeight - view.clientHeight);
      first = Math.floor(scrolled * (batch.rows - count + 2));
    }
    first = Math.max(0, Math.min(first, batch.rows - 1));
    return { first, last: Math.min(batch.rows, first + count) };
  }

  function sizeBatch() {
    $('batchSizer').style.height = batch && rowHeight ? Math.min(fullHeight(), kTallest) + 'px' : '';
  }

  function renderBatch() {
    const table = $('batchTable');
    if (!batch || !batch.rows) {
      table.replaceChildren();
      table.removeAttribute('aria-rowcount');
      table.classList.remove('fixed');
      table.style.top = table.style.width = '';
      rowHeight = headHeight = 0;
      sizeBatch();
      return;
    }
    if (!table.tHead) {
      // The module gives the headings with the last answer; the first rows
      // come before it, under the same headings read from the catalogue.
      table.append(el('thead', null, [el('tr', { 'aria-rowindex': 1 },
        batchHeadings.map((h) => el('th', { scope: 'col', text: h })))]), document.createElement('tbody'));
    }
    const { first, last } = visibleRows();
    const body = table.tBodies[0];
    const rows = [];
    for (let i = first; i < last; ++i) {
      const cells = batchCells(i);
      const tr = el('tr', { 'aria-rowindex': i + 2 }, cells.map((c) => el('td', { text: c })));
      tr.lastChild.title = cells[kColumns - 1];  // the 说明, whole, where the column cuts it
      rows.push(tr);
    }
    body.replaceChildren(...rows);
    table.setAttribute('aria-rowcount', String(batch.rows + 1));
    if (!rowHeight && body.rows.length) {
      // Measured once, with the columns fixed to the widths of the first
      // rows, so that rows further down lay out the same.
      const cols = table.tHead.rows[0].cells;
      const widths = Array.from(cols, (c) => c.getBoundingClientRect().width);
      widths.forEach((w, k) => { cols[k].style.width = Math.ceil(w) + 'px'; });
      table.style.width = widths.reduce((sum, w) => sum + Math.ceil(w), 0) + 'px';
      table.classList.add('fixed');
      const top = body.rows[0].getBoundingClientRect().top;
      rowHeight = (body.rows[body.rows.length - 1].getBoundingClientRect().bottom - top) / body.rows.length;
      headHeight = top - table.getBoundingClientRect().top;
    }
    // Where row first lies under the header: its own place, or, mapped,
    // right where the view looks.
    table.style.top = (fullHeight() <= kTallest ? first * rowHeight
      : Math.min($('batchView').scrollTop, kTallest - table.offsetHeight)) + 'px';
    sizeBatch();
  }
  let batchHeadings = [];  // from the catalogue: the first rows come before the run's answer

  function buildBatch() {
    $('batchFile').addEventListener('change', async (e) => {
      const file = e.target.files[0];
      if (!file) return;
      runBatch(new Uint8Array(await file.arrayBuffer()));
    });
    $('batchCancel').addEventListener('click', () => cancelBatch(true));
    let frame = 0;
    $('batchView').addEventListener('scroll', () => {
      if (!frame) frame = requestAnimationFrame(() => { frame = 0; renderBatch(); });
    });
    $('batchCsv').addEventListener('click', () => {
      if (batch) download('计算成果.csv', new Blob([batch.csvHead, ...batch.csv]), 'text/csv');
    });
    $('batchSheet').addEventListener('click', () => openAid('全渠计算书', (body) => {
      const r = request('canal', { bytes: batchBytes, reach, criteria, sources, sections: sectionRows });
      if (r.refusal !== undefined) {
        notice(body, r.refusal);
        if (r.instead) body.append(el('p', { id: 'canalInstead', className: 'preview instead', text: r.instead }));
        return;
      }
      const preview = el('iframe', { id: 'canalPreview', title: '全渠计算书预览', className: 'preview' });
      preview.setAttribute('sandbox', 'allow-same-origin');
      preview.srcdoc = r.html;
      body.append(preview, el('div', { className: 'buttons' }, [
        button('canalPrint', '打印…', () => printHtml(r.html)),
        button('canalSave', '保存HTML…', () => download('全渠计算书.html', r.html, 'text/html')),
      ]));
    }));
  }

  // --- start -------------------------------------------------------------

  function wire() {
    wireMessage();
    $('calcForm').addEventListener('submit', (e) => { e.preventDefault(); calculate(); });
    $('Back').addEventListener('click', () => goBack());
    document.addEventListener('keydown', onCalculationKey);
    $('Inputs').addEventListener('input', saveTexts);
    window.addEventListener('popstate', onHistory);
    $('forget').addEventListener('click', forget);
    $('copyReport').addEventListener('click', copyReport);
    $('aidClose').addEventListener('click', () => $('aid').close());
    $('drawingButton').addEventListener('click', () => openAid('断面图', showDrawing));
    $('fitButton').addEventListener('click', () => openAid('选型', showFit));
    $('ratingButton').addEventListener('click', () => openAid('水位流量关系', showRating));
    $('sheetButton').addEventListener('click', () => openAid('计算书', showSheet));
    $('aidsButton').addEventListener('click', () => openAid('按坡度/流量选型', showDesignAids));
    $('profileButton').addEventListener('click', () => openAid(profileWords.title, showProfile));
    for (const id of ['sectionsButton', 'sectionsEdit']) {
      $(id).addEventListener('click', () => openAid(sectionWords.title, showSections));
    }
    showSectionCount();
    buildBatch();
  }

  // Served over http(s), the page is an app to install that opens offline:
  // its service worker and manifest lie beside it (scripts/build-web puts
  // them there). Opened from a file, the one file is the whole edition and
  // asks for nothing. The manifest is offered only once the worker is there,
  // so a page published alone asks for no manifest that is not.
  function offerInstall() {
    if (location.protocol !== 'https:' && location.protocol !== 'http:') return;
    if (!('serviceWorker' in navigator)) return;
    navigator.serviceWorker.register('sw.js').then(() => {
      document.head.append(el('link', { rel: 'manifest', href: 'manifest.webmanifest' }));
    }, () => {
      // Not secure (plain http elsewhere than this computer), or no worker
      // beside the page: it works as from a file.
    });
  }

  offerInstall();

  VeltraneModule().then((module) => {
    core = module;
    const c = request('catalogue');
    document.documentElement.style.fontFamily = c.fontFamily;
    catalogue = c.sizes;
    criteriaFields = c.criteria;
    for (const f of criteriaFields) criteria[f.key] = sources[f.key] = '';
    sheetFields = c.sheetFields;
    for (const f of sheetFields) reach[f.key] = '';
    basisField = c.basis;
    profileWords = c.profile;
    sectionWords = c.sectionForm;
    batchHeadings = c.batchHeadings;
    buildChoice();
    recall();
    wire();
    // A reload of the calculation view comes back to it.
    const state = history.state;
    if (state && state.view === 'calculation' && Number.isInteger(state.size) && catalogue[state.size]) {
      openCalculation(state.size, true);
    }
    // How long the page took to be ready to calculate, for the browser test.
    document.body.dataset.readyMs = performance.now().toFixed(0);
    document.body.dataset.ready = 'true';
    if (openSize < 0) {
      const chosen = selectedOption();
      if (chosen) chosen.focus();
    }
  });
})();
