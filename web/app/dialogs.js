// The modal windows of the page: the message box, the question before
// unsaved inputs are replaced, the busy panel, the terms-of-use notice, the
// overview, the fire-resistance figure, and the two settings dialogs, each a
// view over its model in the session.

import { importAsset } from './assets.js';

// A text of the core with "%1", "%2" … replaced by the values in their order.
export const filledIn = (text, ...values) => text.replace(/%([1-9])/g, (hole, n) => values[n - 1] ?? hole);

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
export const asciiDigits = (text) =>
  text.replace(/[０-９．－]/g, (c) =>
    c === '．' ? '.' : c === '－' ? '-' : String.fromCharCode(c.charCodeAt(0) - 0xfee0),
  );

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

export function messageBox(texts, text) {
  const { dialog, body } = modal('message-box', texts.applicationTitle);
  dialog.setAttribute('role', 'alertdialog');
  make('p', body, 'message', text);
  const row = make('div', body, 'buttons');
  return new Promise((done) => {
    const ok = button(row, texts.messageConfirm, () => {
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
    const buttons = answers.map((caption, i) =>
      button(row, caption, () => {
        dialog.close();
        dialog.remove();
        done(i);
      }),
    );
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
function toolWindow(id, caption, texts) {
  let d = document.getElementById(id);
  if (d) return { dialog: d, body: d.querySelector('.dialog-body'), existing: true };
  d = make('dialog', document.body, 'tool-window');
  d.id = id;
  d.tabIndex = -1;
  const bar = make('div', d, 'title-bar', caption);
  bar.id = `${id}-title`;
  d.setAttribute('aria-labelledby', bar.id);
  button(bar, texts.closeBoxGlyph, () => d.close(), 'close-box').setAttribute('aria-label', texts.closeBox);
  // Escape closes it, as the desktop's window.
  d.addEventListener('keydown', (event) => {
    if (event.key !== 'Escape') return;
    event.preventDefault();
    d.close();
  });
  return { dialog: d, body: make('div', d, 'dialog-body'), existing: false };
}

export async function showOverview(texts, dataFolder, version, messageBox) {
  const path = `${dataFolder}/${texts.overviewDocument}`;
  let markdown;
  try {
    const response = await fetch(path);
    if (!response.ok) throw new Error(String(response.status));
    markdown = await response.text();
  } catch {
    await messageBox(texts.overviewMissing.replace('%1', path));
    return;
  }
  const { marked } = await importAsset('marked.js');
  const { dialog, body } = toolWindow('overview', texts.overviewCaption, texts);
  body.classList.add('overview');
  body.innerHTML = marked.parse(markdown);
  body.tabIndex = 0;
  // Under the document, as the desktop's button: the verification document
  // ships beside Load_data (scripts/web build).
  if (!dialog.querySelector('.verification-link')) {
    const foot = make('div', dialog, 'dialog-foot');
    const link = make('a', foot, 'command verification-link', texts.verificationButton);
    link.href = texts.verificationDocument;
    link.target = '_blank';
    link.rel = 'noopener';
    link.title = texts.verificationHint;
    make('span', foot, 'overview-version', filledIn(texts.overviewVersion, version));
  }
  dialog.show();
  body.scrollTop = 0;
  body.focus();
}

export function showFireResistance(texts) {
  const { dialog, body, existing } = toolWindow('fire-resistance', texts.fireResistanceCaption, texts);
  if (!existing) {
    const img = make('img', body, 'fire-picture');
    img.src = `pictures/${texts.fireResistancePicture}`;
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
    const texts = app.texts;
    const { dialog, body } = modal('settings-dialog', texts.settingsCaption, 'settings');
    this.dialog = dialog;
    dialog.style.height = `${texts.settingsDialogHeight}px`;

    const method = make('fieldset', body, 'group method');
    make('legend', method, '', texts.settingsMethodTitle);
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
    make('legend', ratios, '', texts.settingsRatioTitle);
    // The inputs in the order of the 22 ratios, whatever order the rows show.
    this.ratioInputs = [];
    texts.ratioSets.forEach((set) => {
      const sub = make('fieldset', ratios, 'group ratio-case');
      make('legend', sub, '', set.title);
      for (const { caption, terms } of set.rows) {
        const row = make('div', sub, 'ratio-row');
        make('span', row, 'row-title', caption);
        terms.forEach(({ field, position, name, letter }, k) => {
          if (k > 0) make('span', row, 'plus', texts.ratioPlus);
          const f = app.fields[field];
          const input = make('input', row, 'ratio');
          input.type = 'text';
          input.maxLength = texts.ratioMaxLength;
          input.dataset.field = f.name;
          input.title = f.tooltip;
          input.setAttribute('aria-label', name);
          this.bindText(input, f.id);
          make('span', row, 'letter', letter);
          this.ratioInputs[position] = input;
        });
      }
    });
    make('div', ratios, 'legend-line', texts.ratioLegend);

    const length = make('fieldset', body, 'group max-length');
    make('legend', length, '', byName.SettingsMaxDeckLength.caption);
    const f = byName.SettingsMaxDeckLength;
    this.maxLength = make('input', length, 'field');
    this.maxLength.type = 'text';
    this.maxLength.dataset.field = f.name;
    this.maxLength.title = f.tooltip;
    this.maxLength.setAttribute('aria-label', f.caption);
    this.maxLength.setAttribute('role', 'spinbutton');
    this.bindText(this.maxLength, f.id);
    this.maxLength.addEventListener('keydown', (event) => {
      if (event.key === 'ArrowUp' || event.key === 'ArrowDown') {
        event.preventDefault();
        this.session.settingsStepSpin(f.id, event.key === 'ArrowUp' ? 1 : -1);
        this.refresh();
      }
    });
    make('span', length, 'unit', texts.millimetres);

    const row = make('div', body, 'buttons');
    const [reset, apply, cancel] = ['SettingsResetButton', 'SettingsApplyButton', 'SettingsCancelButton'].map(
      (name) => {
        const b = button(row, byName[name].caption, () => this.click(name));
        b.title = byName[name].tooltip;
        b.dataset.field = name;
        return b;
      },
    );
    texts.settingsNotes.forEach((note) => make('span', row, 'note', note));
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
    const { dialog, body } = modal('print-settings-dialog', texts.printSettingsCaption, 'print-settings');
    this.dialog = dialog;

    const name = make('fieldset', body, 'group');
    make('legend', name, '', texts.projectNameTitle);
    this.name = make('input', name, 'field name');
    this.name.type = 'text';
    this.name.title = texts.projectNameHint;
    this.name.setAttribute('aria-label', texts.projectNameTitle);
    this.name.addEventListener('mousedown', () => {
      this.session.printClickName();
      this.refresh();
    });
    this.name.addEventListener('input', () => {
      this.session.printEditName(this.name.value);
      this.refresh();
    });
    make('div', name, 'note', texts.projectNameLengthNote);
    make('div', name, 'note', texts.projectNameEmptyNote);

    const numbers = make('fieldset', body, 'group');
    make('legend', numbers, '', texts.pageNumberTitle);
    // The desktop's grid: "無し" above the right column, then the top and
    // the bottom row from left to right.
    const grid = make('div', numbers, 'position-grid');
    this.positions = texts.pageNumberCaptions.map((caption, button) => {
      const wrapper = make('label', grid, 'option');
      const { column, row } = texts.pageNumberPlaces[button];
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
    make('div', numbers, 'note', texts.positionCancelNote);
    this.numberGroup = make('fieldset', numbers, 'group number-group');
    make('legend', this.numberGroup, '', texts.numberGroupTitle);
    make('span', this.numberGroup, 'label', texts.numberStyleCaption);
    this.style = make('select', this.numberGroup);
    this.style.setAttribute('aria-label', texts.numberStyleCaption);
    texts.pageNumberStyles.forEach((s) => this.style.add(new Option(s)));
    this.style.addEventListener('change', () => {
      this.session.printChooseStyle(this.style.selectedIndex);
      this.refresh();
    });
    make('span', this.numberGroup, 'label', texts.startNumberCaption);
    this.start = make('input', this.numberGroup, 'field start');
    this.start.type = 'text';
    this.start.title = texts.startNumberHint;
    this.start.setAttribute('aria-label', texts.startNumberCaption);
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
    const { printSettingsConfirm: confirm, printSettingsCancel: cancel } = texts;
    button(row, confirm.caption, () => this.close(true)).title = confirm.hint;
    button(row, cancel.caption, () => this.close(false)).title = cancel.hint;
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
