// The modal windows of the page: the message box, the question before
// unsaved inputs are replaced, the busy panel, the terms-of-use notice, the
// overview, the fire-resistance figure, and the two settings dialogs, each a
// view over its model in the session.

import { assetUrl } from './assets.js';

// Column and row of each page-number position in its group.
const POSITION_PLACES = [[2, 0], [0, 1], [1, 1], [2, 1], [0, 2], [1, 2], [2, 2]];

// The settings dialog's height with its frame, in pixels.
const SETTINGS_DIALOG_HEIGHT = 450;

function make(tag, parent, className, text) {
  const e = document.createElement(tag);
  if (className) e.className = className;
  if (text !== undefined) e.textContent = text;
  parent?.appendChild(e);
  return e;
}

// Digits, point and minus typed with an input method left on (full width)
// become the ASCII characters the model's key filters take: a browser
// cannot switch the input method off as the desktop does.
export const asciiDigits = (text) => text.replace(/[０-９．－]/g,
  (c) => (c === '．' ? '.' : c === '－' ? '-' : String.fromCharCode(c.charCodeAt(0) - 0xFEE0)));

// Passes the input's text on once an input method has finished composing it.
export function onTextInput(input, pass) {
  const handle = (event) => {
    if (event.isComposing) return;
    const ascii = asciiDigits(input.value);
    if (ascii !== input.value) input.value = ascii;
    pass(ascii);
  };
  input.addEventListener('input', handle);
  input.addEventListener('compositionend', handle);
}

function button(parent, caption, action, className = 'command') {
  const b = make('button', parent, className, caption);
  b.type = 'button';
  b.addEventListener('click', action);
  return b;
}

// A <dialog> with a title bar; showModal keeps every other window inert.
function modal(id, caption, className = '') {
  const d = make('dialog', document.body, `modal ${className}`);
  d.id = id;
  make('div', d, 'title-bar', caption).id = `${id}-title`;
  d.setAttribute('aria-labelledby', `${id}-title`);
  const body = make('div', d, 'dialog-body');
  d.addEventListener('cancel', (event) => event.preventDefault());
  return { dialog: d, body };
}

export function messageBox(title, text) {
  const { dialog, body } = modal('message-box', title);
  dialog.setAttribute('role', 'alertdialog');
  make('p', body, 'message', text);
  const row = make('div', body, 'buttons');
  return new Promise((done) => {
    const ok = button(row, 'OK', () => {
      dialog.close();
      dialog.remove();
      done();
    });
    dialog.showModal();
    ok.focus();
  });
}

// 保存 / 保存しない / キャンセル: answers 'save', 'discard' or 'cancel'.
export function askToSaveChanges(texts) {
  const { dialog, body } = modal('unsaved-question', texts.applicationTitle);
  make('p', body, 'message', texts.unsavedQuestion);
  const row = make('div', body, 'buttons');
  return new Promise((done) => {
    const answer = (value) => () => {
      dialog.close();
      dialog.remove();
      done(value);
    };
    const [save, discard, cancel] = texts.unsavedAnswers;
    const first = button(row, save, answer('save'));
    button(row, discard, answer('discard'));
    button(row, cancel, answer('cancel'));
    dialog.showModal();
    first.focus();
  });
}

// A question with the given answers; answers the index of the one chosen.
export function askQuestion(title, text, answers) {
  const { dialog, body } = modal('question', title);
  make('p', body, 'message', text);
  const row = make('div', body, 'buttons');
  return new Promise((done) => {
    const buttons = answers.map((caption, i) => button(row, caption, () => {
      dialog.close();
      dialog.remove();
      done(i);
    }));
    dialog.showModal();
    buttons[0].focus();
  });
}

// Shown and painted before a long command starts; close() removes it,
// caption() changes what it says.
export function busyPanel(caption) {
  const d = make('dialog', document.body, 'busy-panel', caption);
  d.id = 'busy-panel';
  d.showModal();
  document.body.classList.add('busy');
  d.setAttribute('role', 'status');
  return {
    caption(text) {
      d.textContent = text;
      d.classList.add('long');
    },
    close() {
      d.close();
      d.remove();
      document.body.classList.remove('busy');
    },
  };
}

export function showNotice(texts) {
  const { dialog, body } = modal('notice', texts.noticeCaption, 'notice');
  const band = make('div', body, 'band');
  make('div', band, 'heading', texts.noticeHeading);
  make('div', band, 'maker', texts.makerName);
  const box = make('div', body, 'notice-text');
  // Its text scrolls by keyboard too.
  box.tabIndex = 0;
  box.setAttribute('role', 'document');
  box.setAttribute('aria-label', texts.noticeHeading);
  texts.noticeLines.forEach((line, i) => {
    const p = make('p', box, i + 1 === texts.noticeLines.length ? 'right' : '', line);
    if (!line) p.innerHTML = '&nbsp;';
  });
  const row = make('div', body, 'buttons');
  return new Promise((done) => {
    const ok = button(row, texts.noticeConfirm, () => {
      dialog.close();
      dialog.remove();
      done();
    });
    dialog.showModal();
    ok.focus();
  });
}

// A window that stays until closed, not modal.
function toolWindow(id, caption) {
  let d = document.getElementById(id);
  if (d) return { dialog: d, body: d.querySelector('.dialog-body'), existing: true };
  d = make('dialog', document.body, 'tool-window');
  d.id = id;
  d.tabIndex = -1;
  const bar = make('div', d, 'title-bar', caption);
  bar.id = `${id}-title`;
  d.setAttribute('aria-labelledby', bar.id);
  button(bar, '×', () => d.close(), 'close-box').setAttribute('aria-label', '閉じる');
  // Escape closes it, as the desktop's window.
  d.addEventListener('keydown', (event) => {
    if (event.key !== 'Escape') return;
    event.preventDefault();
    d.close();
  });
  return { dialog: d, body: make('div', d, 'dialog-body'), existing: false };
}

export async function showOverview(texts, dataFolder, messageBox) {
  const path = `${dataFolder}/${texts.overviewDocument}`;
  let markdown;
  try {
    const response = await fetch(path);
    if (!response.ok) throw new Error(String(response.status));
    markdown = await response.text();
  } catch {
    await messageBox(`概要の文書「${path}」が見つかりません。`);
    return;
  }
  const { marked } = await import(assetUrl('marked.js'));
  const { dialog, body } = toolWindow('overview', texts.overviewCaption);
  body.classList.add('overview');
  body.innerHTML = marked.parse(markdown);
  body.tabIndex = 0;
  dialog.show();
  body.scrollTop = 0;
  body.focus();
}

export function showFireResistance(texts) {
  const { dialog, body, existing } = toolWindow('fire-resistance', texts.fireResistanceCaption);
  if (!existing) {
    const img = make('img', body, 'fire-picture');
    img.src = 'pictures/fire_resistance.png';
    img.alt = texts.fireResistanceCaption;
  }
  dialog.show();
  dialog.focus();
}

// "係数等の定義": the method, the 22 ratios (P follows G) and the maximum deck
// length, shown from the settings dialog model.
export class SettingsWindow {
  constructor(app) {
    this.app = app;
    this.session = app.session;
    const byName = Object.fromEntries(app.fields.map((f) => [f.name, f]));
    this.byName = byName;
    const { dialog, body } = modal('settings-dialog', app.texts.settingsCaption, 'settings');
    this.dialog = dialog;
    dialog.style.height = `${SETTINGS_DIALOG_HEIGHT}px`;

    const method = make('fieldset', body, 'group method');
    make('legend', method, '', '計算の方法');
    this.methods = ['SettingsMethodNotices', 'SettingsMethodDirect'].map((name, i) => {
      const f = byName[name];
      const wrapper = make('label', method, 'option');
      const input = make('input', wrapper);
      input.type = 'radio';
      input.name = 'settings-method';
      input.dataset.field = name;
      input.title = f.tooltip;
      make('span', wrapper, '', f.caption);
      input.addEventListener('click', () => {
        this.session.settingsClickMethod(i);
        this.refresh();
      });
      return input;
    });

    const ratios = make('fieldset', body, 'group ratios');
    make('legend', ratios, '', ' 荷重の比率 ');
    this.ratioInputs = [];
    const rows = [['長　期', ['Ｇ', 'Ｐ', 'Ｓ']], ['短期 (積雪時)', ['Ｇ', 'Ｐ', 'Ｓ', 'Ｗ']], ['短期 (暴風時)', ['Ｇ', 'Ｐ', 'Ｓ', 'Ｗ']]];
    let position = 0;
    [' 一般の場合 ', ' 多 雪 区 域 '].forEach((caseTitle) => {
      const sub = make('fieldset', ratios, 'group ratio-case');
      make('legend', sub, '', caseTitle);
      for (const [rowTitle, letters] of rows) {
        const row = make('div', sub, 'ratio-row');
        make('span', row, 'row-title', rowTitle);
        letters.forEach((letter, k) => {
          if (k > 0) make('span', row, 'plus', ' ＋');
          const f = this.app.fields.find((x) => x.name === `SettingsRatio${position + 1}`);
          const input = make('input', row, 'ratio');
          input.type = 'text';
          input.maxLength = 8;
          input.dataset.field = f.name;
          input.title = f.tooltip;
          input.setAttribute('aria-label', `${caseTitle.trim()}・${rowTitle}・${letter}`);
          this.bindText(input, f.id);
          make('span', row, 'letter', letter);
          this.ratioInputs.push(input);
          position += 1;
        });
      }
    });
    make('div', ratios, 'legend-line', 'Ｇ:固定荷重/Ｐ:積載荷重/Ｓ:積雪荷重/Ｗ:風荷重');

    const length = make('fieldset', body, 'group max-length');
    make('legend', length, '', 'デッキプレート最大長さ');
    const f = byName.SettingsMaxDeckLength;
    this.maxLength = make('input', length, 'field');
    this.maxLength.type = 'text';
    this.maxLength.dataset.field = f.name;
    this.maxLength.title = f.tooltip;
    this.maxLength.setAttribute('aria-label', 'デッキプレート最大長さ');
    this.maxLength.setAttribute('role', 'spinbutton');
    this.bindText(this.maxLength, f.id);
    this.maxLength.addEventListener('keydown', (event) => {
      if (event.key === 'ArrowUp' || event.key === 'ArrowDown') {
        event.preventDefault();
        this.session.settingsStepSpin(f.id, event.key === 'ArrowUp' ? 1 : -1);
        this.refresh();
      }
    });
    make('span', length, 'unit', 'mm');

    const row = make('div', body, 'buttons');
    const [reset, apply, cancel] = ['SettingsResetButton', 'SettingsApplyButton', 'SettingsCancelButton'].map((name) => {
      const b = button(row, byName[name].caption, () => this.click(name));
      b.title = byName[name].tooltip;
      b.dataset.field = name;
      return b;
    });
    make('span', row, 'note', '積載荷重Ｐは入力不可');
    make('span', row, 'note', 'Ｇと同値');
    this.buttons = { reset, apply, cancel };
  }

  bindText(input, id) {
    onTextInput(input, (text) => {
      this.session.settingsEditText(id, text);
      this.refresh();
    });
    input.addEventListener('focus', () => {
      this.session.settingsFocus(id);
      this.refresh();
    });
  }

  refresh() {
    const d = this.session.settingsDialog();
    this.methods.forEach((input, i) => {
      input.checked = d.method === i;
      input.parentElement.classList.toggle('chosen', d.method === i);
    });
    d.ratios.forEach((r, i) => {
      const input = this.ratioInputs[i];
      if (input.value !== r.text) input.value = r.text;
      input.readOnly = r.readOnly;
    });
    if (this.maxLength.value !== d.maxDeckLength) this.maxLength.value = d.maxDeckLength;
  }

  open() {
    this.session.openSettings();
    this.app.inputScreen.refresh();
    this.refresh();
    this.dialog.showModal();
    this.methods[this.session.settingsDialog().method].focus();
  }

  async click(name) {
    if (name === 'SettingsResetButton') {
      this.session.resetSettings();
      this.refresh();
      return;
    }
    const events = name === 'SettingsApplyButton' ? this.session.applySettings() : this.session.cancelSettings();
    this.refresh();
    if (!this.session.settingsDialog().visible) {
      this.dialog.close();
      await this.app.inputScreen.carryOut(events);
      return;
    }
    // A ratio that is not a number: the message, then the focus on it.
    for (const event of events) {
      if (event.kind === 'message') await this.app.messageBox(event.text);
      else this.dialog.querySelector(`[data-field="${this.app.fields[event.field].name}"]`)?.focus();
    }
  }
}

// "印刷用設定": project name, page number position, style and start number.
export class PrintSettingsWindow {
  constructor(app) {
    this.app = app;
    this.session = app.session;
    const texts = app.texts;
    const { dialog, body } = modal('print-settings-dialog', '印刷用設定', 'print-settings');
    this.dialog = dialog;

    const name = make('fieldset', body, 'group');
    make('legend', name, '', '物件名');
    this.name = make('input', name, 'field name');
    this.name.type = 'text';
    this.name.title = '計算書の表題を記述します';
    this.name.setAttribute('aria-label', '物件名');
    this.name.addEventListener('mousedown', () => {
      this.session.printClickName();
      this.refresh();
    });
    this.name.addEventListener('input', () => {
      this.session.printEditName(this.name.value);
      this.refresh();
    });
    make('div', name, 'note', ` [文字数は全角半角共に${texts.projectNameMaxLength}以下]`);
    make('div', name, 'note', '物件名が不要な場合、何も入力しないで下さい。');

    const numbers = make('fieldset', body, 'group');
    make('legend', numbers, '', 'ページ番号表示/位置');
    // The desktop's grid: "無し" above the right column, then the top and
    // the bottom row from left to right.
    const grid = make('div', numbers, 'position-grid');
    this.positions = texts.pageNumberCaptions.map((caption, button) => {
      const wrapper = make('label', grid, 'option');
      const [column, row] = POSITION_PLACES[button] ?? [button % 3, Math.floor(button / 3)];
      wrapper.style.gridColumn = String(column + 1);
      wrapper.style.gridRow = String(row + 1);
      const input = make('input', wrapper);
      input.type = 'radio';
      input.name = 'page-number-position';
      make('span', wrapper, '', caption);
      input.addEventListener('click', () => {
        this.session.printChoosePosition(button);
        this.refresh();
      });
      return { button, input };
    });
    make('div', numbers, 'note', 'ページ表示位置のキャンセルは無効です。');
    this.numberGroup = make('fieldset', numbers, 'group number-group');
    make('legend', this.numberGroup, '', '表示内容');
    make('span', this.numberGroup, 'label', '番号書式');
    this.style = make('select', this.numberGroup);
    this.style.setAttribute('aria-label', '番号書式');
    texts.pageNumberStyles.forEach((s) => this.style.add(new Option(s)));
    this.style.addEventListener('change', () => {
      this.session.printChooseStyle(this.style.selectedIndex);
      this.refresh();
    });
    make('span', this.numberGroup, 'label', '開始番号');
    this.start = make('input', this.numberGroup, 'field start');
    this.start.type = 'text';
    this.start.title = '1以上の整数を入力します。';
    this.start.setAttribute('aria-label', '開始番号');
    this.start.setAttribute('role', 'spinbutton');
    onTextInput(this.start, (text) => {
      this.session.printEditStartNumber(text);
      this.refresh();
    });
    this.start.addEventListener('blur', () => {
      this.session.printLeaveStartNumber();
      this.refresh();
    });
    this.start.addEventListener('keydown', (event) => {
      if (event.key === 'ArrowUp' || event.key === 'ArrowDown') {
        event.preventDefault();
        this.session.printStepStartNumber(event.key === 'ArrowUp' ? 1 : -1);
        this.refresh();
      }
    });

    const row = make('div', body, 'buttons');
    button(row, '    設　定', () => this.close(true)).title = '設定終了';
    button(row, ' キャンセル', () => this.close(false)).title = '設定を破棄します';
  }

  refresh() {
    const d = this.session.printDialog();
    if (this.name.value !== d.name) this.name.value = d.name;
    this.positions.forEach(({ button, input }) => (input.checked = button === d.position));
    this.numberGroup.disabled = !d.numberGroupEnabled;
    this.style.selectedIndex = d.style;
    if (this.start.value !== d.startNumber) this.start.value = d.startNumber;
  }

  open() {
    this.session.openPrintSettings();
    this.refresh();
    this.dialog.showModal();
  }

  close(confirm) {
    if (confirm) this.session.confirmPrintSettings();
    else this.session.cancelPrintSettings();
    this.dialog.close();
  }
}
