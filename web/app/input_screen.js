// The input screen "Tavilo屋根計算プログラム" as a page: the controls at the
// window's client positions, each bound to its field of the form model.
// What a control shows (text, items, choice, enabled and shown state, hint)
// and what a key, a click or a focus move does are the model's; this file
// only places the controls and passes on what the user does.

// Where everything stands and what the fixed words are come from the screen
// description of the model (screenDescription() of the module); this file
// gives the controls their look.

import { filledIn, onTextInput } from './dialogs.js';

// Pictures that fail within this time are named in one message.
const PICTURE_FAILURE_WAIT_MS = 300;

// The program's own pictures, beside the page.
const PICTURES = 'pictures';
// The arrows of a spin field, right of its text.
const ARROW_WIDTH = 16;

function element(tag, parent, { className, text, x, y, w, h } = {}) {
  const e = document.createElement(tag);
  if (className) e.className = className;
  if (text !== undefined) e.textContent = text;
  place(e, { x, y, w, h });
  parent?.appendChild(e);
  return e;
}

function place(e, { x, y, w, h }) {
  if (x !== undefined) e.style.left = `${x}px`;
  if (y !== undefined) e.style.top = `${y}px`;
  if (w !== undefined) e.style.width = `${w}px`;
  if (h !== undefined) e.style.height = `${h}px`;
}

const label = (parent, text, x, y, w) => element('span', parent, { className: 'label', text, x, y, w });

// The element position of a rectangle of the description.
const box = ({ x, y, width, height }) => ({ x, y, w: width, h: height });

export class InputScreen {
  // `app` gives the module, the session, the field catalogue, the texts and
  // the window's services (message box, commands).
  constructor(app, root) {
    this.app = app;
    this.module = app.module;
    this.session = app.session;
    this.fields = app.fields;
    this.description = this.module.screenDescription();
    this.byName = Object.fromEntries(this.fields.map((f) => [f.name, f]));
    this.controls = new Map(); // field id -> element
    this.choices = new Map(); // field id -> option buttons
    this.captions = new Map();
    this.groups = new Map(); // Group value -> element
    this.choicePictures = new Map(); // field id -> picture
    this.following = false;
    this.root = root;
    this.build();
  }

  id(name) {
    return this.byName[name].id;
  }

  // ---- Building the window

  group(group, title, parent, rect) {
    const g = element('fieldset', parent, { className: 'group', ...box(rect) });
    if (title) element('legend', g, { text: title });
    if (group !== null) this.groups.set(group.value, g);
    return g;
  }

  bind(id, e) {
    const f = this.fields[id];
    e.dataset.field = f.name;
    // A name for assistive technology: the field's caption, else its hint.
    if (/^(INPUT|SELECT)$/.test(e.tagName) && !e.closest('label') && !e.hasAttribute('aria-label')) {
      e.setAttribute('aria-label', (f.caption.trim() || f.tooltip || f.name).replace(/\s+/g, ' '));
    }
    this.controls.set(id, e);
    e.addEventListener('mouseenter', () => this.pointerRestsOn(id));
    e.addEventListener('focus', () => this.focused(id));
    return e;
  }

  list(id, parent, rect) {
    const select = this.bind(id, element('select', parent, box(rect)));
    select.addEventListener('change', () => this.act(() => this.session.selectIndex(id, select.selectedIndex)));
    return select;
  }

  textField(id, parent, rect) {
    const input = this.bind(id, element('input', parent, { className: 'field', ...box(rect) }));
    input.type = 'text';
    input.autocomplete = 'off';
    onTextInput(input, (text) => {
      this.act(() => this.session.editText(id, text));
      this.update(id); // a refused edit leaves the model as it was
    });
    return input;
  }

  spinField(id, parent, rect) {
    const { width: w, height: h } = rect;
    const spin = element('span', parent, { className: 'spin', ...box(rect) });
    const input = this.textField(id, spin, { x: 0, y: 0, width: w - ARROW_WIDTH, height: h });
    const [up, down] = this.app.texts.spinArrows;
    const arrow = (text, direction, top) => {
      const b = element('button', spin, {
        className: 'arrow',
        text,
        x: w - ARROW_WIDTH,
        y: top,
        w: ARROW_WIDTH,
        h: h / 2,
      });
      b.tabIndex = -1;
      b.type = 'button';
      b.setAttribute('aria-label', direction > 0 ? up : down);
      b.addEventListener('mousedown', (event) => event.preventDefault());
      b.addEventListener('click', () => this.step(id, direction));
    };
    const [upGlyph, downGlyph] = this.app.texts.spinArrowGlyphs;
    arrow(upGlyph, 1, 0);
    arrow(downGlyph, -1, h / 2);
    input.addEventListener('keydown', (event) => {
      if (event.key === 'ArrowUp' || event.key === 'ArrowDown') {
        event.preventDefault();
        this.step(id, event.key === 'ArrowUp' ? 1 : -1);
      }
    });
    input.setAttribute('role', 'spinbutton');
    return input;
  }

  step(id, direction) {
    this.act(() => this.session.stepSpin(id, direction));
  }

  // A caption with a run of blanks that a value fills ("平均風速 Ｖ0 =      m/sec").
  valueInGap(id, parent, rect) {
    const caption = this.fields[id].caption;
    const gap = caption.indexOf('  ');
    let end = gap;
    while (end < caption.length && caption[end] === ' ') end += 1;
    const row = element('span', parent, { className: 'gap-row', x: rect.x, y: rect.y });
    element('span', row, { text: caption.slice(0, gap) });
    const value = this.bind(id, element('span', row, { className: 'gap-value' }));
    value.style.width = `${rect.width}px`;
    element('span', row, { text: caption.slice(end) });
    return value;
  }

  display(id, parent, rect, look) {
    const { Look } = this.module;
    if (this.fields[id].caption.includes('  ')) {
      const value = this.valueInGap(id, parent, rect);
      if (look === Look.Strong) value.classList.add('bold');
      return value;
    }
    const className = look === Look.RightAligned ? 'display right' : 'display';
    return this.bind(id, element('span', parent, { className, ...box(rect) }));
  }

  option(id, parent, rect) {
    const wrapper = element('label', parent, { className: 'option', ...box(rect) });
    const input = element('input', wrapper);
    input.type = 'radio';
    input.name = `option-${parent.dataset.frame}`;
    element('span', wrapper, { text: this.fields[id].caption });
    this.bind(id, input);
    input.addEventListener('click', () => this.act(() => this.session.clickChoice(id, 0)));
    return input;
  }

  choiceGroup(id, parent, rect) {
    const f = this.fields[id];
    const d = this.description;
    // The roof type's frame is part of the wind group; the shapes' frames are
    // groups of their own, shown and hidden by the form.
    const ownGroup = f.group !== this.module.Group.Wind;
    const frame = this.group(ownGroup ? f.group : null, f.caption, parent, rect);
    const buttons = f.items.map((item, i) => {
      const wrapper = element('label', frame, { className: 'option', ...box(d.choiceButtons[i]) });
      const input = element('input', wrapper);
      input.type = 'radio';
      input.name = `choice-${f.name}`;
      input.dataset.field = f.name;
      input.addEventListener('mouseenter', () => this.pointerRestsOn(id));
      input.addEventListener('focus', () => this.focused(id));
      input.addEventListener('click', () => this.act(() => this.session.clickChoice(id, i)));
      element('span', wrapper, { text: item });
      return input;
    });
    this.choices.set(id, buttons);
    const picture = element('img', frame, { className: 'picture', ...box(d.choicePicture) });
    picture.alt = '';
    picture.src = `${PICTURES}/${d.builtInChoicePictures[d.choiceFields.indexOf(id)]}`;
    this.choicePictures.set(id, picture);
    if (ownGroup) frame.dataset.field = f.name;
    return frame;
  }

  control(piece, parent) {
    const { FieldKind, Look } = this.module;
    const id = piece.field;
    const f = this.fields[id];
    let rect = piece.rect;
    if (f.name === 'RightOverhang') rect = this.module.rightOverhangRect(this.session.screen().shownSpanCount);
    switch (f.kind) {
      case FieldKind.List:
        return this.list(id, parent, rect);
      case FieldKind.Text:
        return this.textField(id, parent, rect);
      case FieldKind.Spin: {
        const input = this.spinField(id, parent, rect);
        if (piece.look === Look.Shaded) input.classList.add('grey');
        return input;
      }
      case FieldKind.Check: {
        const check = this.bind(id, element('input', parent, box(rect)));
        check.type = 'checkbox';
        check.id = `field-${f.name}`;
        return check;
      }
      case FieldKind.Option:
        return this.option(id, parent, rect);
      case FieldKind.Display:
        return this.display(id, parent, rect, piece.look);
      case FieldKind.Choice:
        return this.choiceGroup(id, parent, rect);
      default: {
        const className = piece.look === Look.Link ? 'link' : 'command';
        const button = this.bind(id, element('button', parent, { className, text: f.caption, ...box(rect) }));
        button.type = 'button';
        button.addEventListener('click', () => this.command(f.name));
        return button;
      }
    }
  }

  caption(piece, parent) {
    const { Look, FieldKind } = this.module;
    const { x, y, width } = piece.rect;
    const w = width >= 0 ? width : undefined;
    if (piece.look === Look.Product)
      return element('span', parent, { className: 'product', text: piece.text, x, y, w });
    if (piece.field >= 0 && this.fields[piece.field].kind === FieldKind.Check) {
      const caption = element('label', parent, { className: 'label', text: piece.text, x, y, w });
      caption.htmlFor = `field-${this.fields[piece.field].name}`;
      this.captions.set(piece.field, caption);
      return caption;
    }
    return label(parent, piece.text, x, y, w);
  }

  frame(piece, parent) {
    const { Frame, Look } = this.module;
    let e;
    if (piece.frame === Frame.CommandBar) {
      e = element('div', parent, { className: 'command-bar', ...box(piece.rect) });
      this.commandBar = e;
    } else {
      e = this.group(piece.group, piece.text, parent, piece.rect);
      if (piece.look === Look.Flush) e.classList.add('untitled');
    }
    e.dataset.frame = piece.frame.value;
    return e;
  }

  // The window as the screen description has it, piece by piece in its order.
  build() {
    const { PieceKind, Frame } = this.module;
    const w = element('div', this.root, { className: 'window' });
    w.id = 'input-screen';
    w.setAttribute('role', 'application');
    this.window = w;
    this.titleBar = element('div', w, { className: 'title-bar' });
    this.client = element('div', w, { className: 'client' });
    this.client.style.width = `${this.module.screenGeometry(0).clientWidth}px`;

    const frames = new Map([[Frame.Client.value, this.client]]);
    let lastValue = null;
    for (const piece of this.description.pieces) {
      const parent = frames.get(piece.parent.value);
      switch (piece.kind) {
        case PieceKind.Frame:
          frames.set(piece.frame.value, this.frame(piece, parent));
          break;
        case PieceKind.Caption:
          this.caption(piece, parent);
          break;
        case PieceKind.AfterValue:
          lastValue.parentElement.appendChild(element('span', null, { text: ` ${piece.text}` }));
          break;
        case PieceKind.Control:
          lastValue = this.control(piece, parent);
          break;
        case PieceKind.Picture: {
          const picture = element('img', parent, { className: 'picture', ...box(piece.rect) });
          picture.src = `${PICTURES}/${piece.text}`;
          picture.alt = '';
          break;
        }
        case PieceKind.Arrangement:
          this.arrangementPicture = element('img', parent, { className: 'picture', ...box(piece.rect) });
          this.arrangementPicture.alt = '';
          break;
        case PieceKind.SiteNotice:
          this.siteDataNotice = element('span', parent, { className: 'site-data-notice', ...box(piece.rect) });
          this.siteDataNotice.id = 'site-data-notice';
          break;
        case PieceKind.Version: {
          const { x, y, width } = piece.rect;
          this.versionLabel = element('span', parent, { className: 'version', x, y, w: width });
          break;
        }
        default:
          break;
      }
    }
    this.statusBar = element('div', this.client, { className: 'status-bar' });
    this.statusBar.setAttribute('role', 'status');
  }

  // ---- What the user does

  // Runs a model action and carries out the events it answers.
  async act(action) {
    await this.carryOut(action());
  }

  pointerRestsOn(id) {
    this.session.pointerRestsOn(id);
    this.refresh();
  }

  focused(id) {
    // The long hint reaches the status line by keyboard as by the pointer.
    this.session.pointerRestsOn(id);
    if (this.following) {
      this.refresh();
      return;
    }
    this.act(() => this.session.focusField(id)).then(() => {
      const focus = this.session.screen().focus;
      if (focus !== id) this.focusControl(focus);
    });
  }

  command(name) {
    this.app.command(name);
  }

  // Messages in the modal message box, one after the other, and focus moves;
  // then the screen shows what changed, and the focus the model holds.
  async carryOut(events) {
    this.following = true;
    try {
      for (const event of events) {
        if (event.kind === 'message') {
          this.refresh();
          await this.app.messageBox(event.text);
        } else {
          this.focusControl(event.field);
        }
      }
      this.refresh();
      if (this.window.hidden === false && this.app.noDialogOpen()) this.focusControl(this.session.screen().focus);
    } finally {
      this.following = false;
    }
  }

  focusControl(id) {
    let target = this.controls.get(id);
    const choices = this.choices.get(id);
    if (!target && choices) target = choices[Math.max(this.session.field(id).index, 0)] ?? choices[0];
    if (target && target.offsetParent !== null && document.activeElement !== target) {
      const was = this.following;
      this.following = true;
      target.focus();
      this.following = was;
    }
  }

  // ---- Showing the model

  refresh() {
    const changes = this.session.takeChanges();
    if (changes.groups) {
      for (const f of this.fields) if (f.group !== this.module.Group.SettingsDialog) this.update(f.id);
      this.applyLayout();
    } else {
      changes.fields.forEach((id) => this.update(id));
    }
    if (changes.window) this.updateWindowTexts();
    if (changes.pictures) this.updatePictures();
  }

  update(id) {
    const f = this.fields[id];
    const s = this.session.field(id);
    const choices = this.choices.get(id);
    if (choices) {
      choices.forEach((button, i) => {
        button.checked = i === s.index;
        button.parentElement.classList.toggle('chosen', i === s.index);
        button.title = s.tooltip;
      });
      return;
    }
    const e = this.controls.get(id);
    if (!e) return;
    const holder = e.closest('.spin') ?? e;
    holder.hidden = !s.shown;
    e.disabled = !s.enabled;
    e.title = s.tooltip;
    const { FieldKind } = this.module;
    switch (f.kind) {
      case FieldKind.List: {
        const shown = [...e.options].map((o) => o.text);
        if (shown.join('\n') !== s.items.join('\n') || shown.length !== s.items.length) {
          e.replaceChildren(...s.items.map((item) => new Option(item)));
        }
        e.selectedIndex = s.index;
        break;
      }
      case FieldKind.Spin:
      case FieldKind.Text:
        if (e.value !== s.text) e.value = s.text;
        e.readOnly = !s.takesTyping;
        break;
      case FieldKind.Check:
        e.checked = s.index === 1;
        this.captions.get(id).style.color = this.session.screen().heavySnowCaption;
        break;
      case FieldKind.Option:
        e.checked = s.index === 1;
        e.parentElement.classList.toggle('chosen', s.index === 1);
        break;
      case FieldKind.Display:
        e.textContent = s.text;
        break;
      default:
        break;
    }
  }

  applyLayout() {
    const screen = this.session.screen();
    const geometry = this.module.screenGeometry(screen.layoutMethod);
    const { Group } = this.module;
    this.client.style.height = `${geometry.clientHeight}px`;
    place(this.groups.get(Group.OtherLoads.value), box(geometry.otherLoads));
    place(this.groups.get(Group.DirectLoad.value), box(geometry.directLoad));
    place(this.groups.get(Group.Span.value), box(geometry.span));
    place(this.commandBar, box(geometry.commandBar));
    place(this.statusBar, box(geometry.statusBar));
    for (const [group, frame] of this.groups) frame.hidden = !screen.groupsShown[group];
  }

  updateWindowTexts() {
    const screen = this.session.screen();
    this.titleBar.textContent = screen.caption;
    document.title = screen.caption;
    this.statusBar.textContent = screen.statusText;
    this.versionLabel.textContent = screen.versionLabel;
    this.siteDataNotice.textContent = screen.siteDataNotice;
    this.siteDataNotice.hidden = screen.siteDataNotice === '';
    this.client.inert = !screen.screenEnabled;
    this.window.classList.toggle('disabled', !screen.screenEnabled);
  }

  updatePictures() {
    const screen = this.session.screen();
    const arrangement = this.module.builtInArrangementPicture(screen.shownSpanCount, screen.overhangCode);
    this.arrangementPicture.src = `${PICTURES}/${arrangement}`;
    this.arrangementPicture.dataset.picture = arrangement.replace(/^arrangement_|\.png$/g, '');
    place(this.controls.get(this.id('RightOverhang')), box(this.module.rightOverhangRect(screen.shownSpanCount)));
    screen.choicePictures.forEach((name, slot) => {
      const picture = this.choicePictures.get(this.description.choiceFields[slot]);
      if ((picture.dataset.name ?? '') === name) return;
      if (!name) {
        picture.dataset.name = '';
        picture.src = `${PICTURES}/${this.description.builtInChoicePictures[slot]}`;
        return;
      }
      // The picture shown so far stays when the file cannot be opened.
      const file = `${this.app.dataFolder}/${name}`;
      const probe = new Image();
      probe.onload = () => {
        picture.src = probe.src;
        picture.dataset.name = name;
      };
      probe.onerror = () => this.pictureFailed(file);
      probe.src = file;
    });
  }

  // Pictures that cannot be opened together (a project loaded while the
  // server is gone) are named in one message.
  pictureFailed(file) {
    if (!this.failedPictures) {
      this.failedPictures = [];
      setTimeout(() => {
        const files = this.failedPictures;
        this.failedPictures = null;
        const { pictureUnreadable, pictureNameSeparator } = this.app.texts;
        this.app.messageBox(filledIn(pictureUnreadable, files.join(pictureNameSeparator)));
      }, PICTURE_FAILURE_WAIT_MS);
    }
    if (!this.failedPictures.includes(file)) this.failedPictures.push(file);
  }

  show(visible) {
    this.window.hidden = !visible;
  }
}
