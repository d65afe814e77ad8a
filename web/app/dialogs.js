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

// Places an element at a rectangle of a dialog's description.
function placeAt(e, { x, y, width, height }) {
  e.style.left = `${x}px`;
  e.style.top = `${y}px`;
  e.style.width = `${width}px`;
  e.style.height = `${height}px`;
  return e;
}

// Builds a dialog of the core's description into its body: the frames,
// captions and notes where the description puts them, and each control made
// by `control(piece, frame)`, all in the description's order (the tab order).
// Answers the frames by their name.
function buildDescribed(body, description, control) {
  body.classList.add('described');
  placeAt(body, { x: 0, y: 0, width: description.clientWidth, height: description.clientHeight });
  body.style.position = 'relative';
  const frames = new Map([['client', body]]);
  for (const piece of description.pieces) {
    const parent = frames.get(piece.parent);
    if (piece.kind === 'frame') {
      const group = make('fieldset', parent, 'group');
      make('legend', group, '', piece.text);
      frames.set(piece.frame, placeAt(group, piece.rect));
    } else if (piece.kind === 'control') {
      placeAt(control(piece, parent), piece.rect);
    } else {
      const look = piece.kind === 'note' ? 'label note' : piece.strong ? 'label bold' : 'label';
      placeAt(make('span', parent, look, piece.text), piece.rect);
    }
  }
  return frames;
}

// An option button with its caption; the wrapper stands where the piece does.
function optionButton(parent, name, caption) {
  const wrapper = make('label', parent, 'option');
  const input = make('input', wrapper);
  input.type = 'radio';
  input.name = name;
  make('span', wrapper, '', caption);
  return { wrapper, input };
}

// "係数等の定義": the method, the 22 ratios (P follows G) and the maximum deck
// length, shown from the settings dialog model.
export class SettingsWindow {
  constructor(app) {
    this.app = app;
    this.session = app.session;
    const texts = app.texts;
    const { dialog, body } = modal('settings-dialog', texts.settingsCaption, 'settings');
    this.dialog = dialog;
    const { FieldKind } = app.module;
    // The inputs in the order of the 22 ratios, whatever order the rows show.
    this.ratioInputs = [];
    this.methods = [];
    buildDescribed(body, app.module.dialogDescription('settings'), (piece, parent) => {
      const f = app.fields[piece.field];
      if (f.kind === FieldKind.Option) {
        const method = this.methods.length;
        const { wrapper, input } = optionButton(parent, 'settings-method', f.caption);
        input.dataset.field = f.name;
        input.title = f.tooltip;
        input.addEventListener('click', () => {
          this.session.settingsClickMethod(method);
          this.refresh();
        });
        this.methods.push(input);
        return wrapper;
      }
      if (f.kind === FieldKind.Button) {
        const b = button(parent, f.caption, () => this.click(f.name));
        b.title = f.tooltip;
        b.dataset.field = f.name;
        return b;
      }
      const ratio = piece.position !== undefined;
      const input = make('input', parent, ratio ? 'ratio' : 'field');
      input.type = 'text';
      input.dataset.field = f.name;
      input.title = f.tooltip;
      input.setAttribute('aria-label', ratio ? piece.name : f.caption);
      this.bindText(input, f.id);
      if (ratio) {
        input.maxLength = texts.ratioMaxLength;
        this.ratioInputs[piece.position] = input;
        return input;
      }
      this.maxLength = input;
      input.setAttribute('role', 'spinbutton');
      input.addEventListener('keydown', (event) => {
        if (event.key === 'ArrowUp' || event.key === 'ArrowDown') {
          event.preventDefault();
          this.session.settingsStepSpin(f.id, event.key === 'ArrowUp' ? 1 : -1);
          this.refresh();
        }
      });
      return input;
    });
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
    this.positions = [];
    const controls = {
      projectName: (parent) => {
        this.name = make('input', parent, 'field name');
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
        return this.name;
      },
      pageNumberPlace: (parent, { index, text }) => {
        const { wrapper, input } = optionButton(parent, 'page-number-position', text);
        input.title = texts.pageNumberHints[index === 0 ? 0 : 1];
        input.addEventListener('click', () => {
          this.session.printChoosePosition(index);
          this.refresh();
        });
        this.positions.push({ button: index, input });
        return wrapper;
      },
      pageNumberStyle: (parent, { text }) => {
        this.style = make('select', parent);
        this.style.setAttribute('aria-label', text);
        texts.pageNumberStyles.forEach((s) => this.style.add(new Option(s)));
        this.style.addEventListener('change', () => {
          this.session.printChooseStyle(this.style.selectedIndex);
          this.refresh();
        });
        return this.style;
      },
      startNumber: (parent, { text }) => {
        this.start = make('input', parent, 'field start');
        this.start.type = 'text';
        this.start.title = texts.startNumberHint;
        this.start.setAttribute('aria-label', text);
        this.start.setAttribute('role', 'spinbutton');
        onTextInput(this.start, (typed) => {
          this.session.printEditStartNumber(typed);
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
        return this.start;
      },
      confirm: (parent, { text }) => {
        const b = button(parent, text, () => this.close(true));
        b.title = texts.printSettingsConfirm.hint;
        return b;
      },
      cancel: (parent, { text }) => {
        const b = button(parent, text, () => this.close(false));
        b.title = texts.printSettingsCancel.hint;
        return b;
      },
    };
    const frames = buildDescribed(body, app.module.dialogDescription('print'), (piece, parent) =>
      controls[piece.control](parent, piece),
    );
    // Disabled while no position is chosen.
    this.numberGroup = frames.get('numberGroup');
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
