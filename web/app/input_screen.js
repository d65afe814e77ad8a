// The input screen "Tavilo屋根計算プログラム" as a page: the controls at the
// window's client positions, each bound to its field of the form model.
// What a control shows (text, items, choice, enabled and shown state, hint)
// and what a key, a click or a focus move does are the model's; this file
// only places the controls and passes on what the user does.

import { onTextInput } from './dialogs.js';
import { PAGE_TEXTS } from './page_texts.js';

// Pictures that fail within this time are named in one message.
const PICTURE_FAILURE_WAIT_MS = 300;

// Positions in pixels: groups in client coordinates of the notice-method
// layout, controls within their group (as the desktop window).
const ROW = 21;
const LEFT_COLUMN = 4;
const RIGHT_COLUMN = 400;
const LEFT_WIDTH = 392;
const RIGHT_WIDTH = 387;
const SPAN_GROUP_HEIGHT = 84;
const COMMAND_BAR_HEIGHT = 60;
const STATUS_BAR_HEIGHT = 20;
const SPAN_FIELD_TOP = 49;
const SPAN_FIELD_WIDTH = 64;
const SPAN_FIELD_LEFTS = [192, 298, 404, 510];
const LEFT_OVERHANG_LEFT = 104;
const RIGHT_OVERHANG_OFFSET = 88; // right of the last shown span field
const CLIENT_WIDTH = 791;
// Where the groups of each layout stand (outer window heights with a
// 28-pixel title bar): the layout of the notices, then that of loads entered
// directly.
const LAYOUT_GEOMETRY = [
  { directLoadTop: 110, otherLoadsTop: 322, otherLoadsHeight: 85, spanGroupTop: 412, commandBarTop: 500, windowHeight: 608 },
  { directLoadTop: 110, otherLoadsTop: 110, otherLoadsHeight: 95, spanGroupTop: 210, commandBarTop: 298, windowHeight: 406 },
];

function rightOverhangLeft(shownSpanCount) {
  return SPAN_FIELD_LEFTS[Math.min(Math.max(shownSpanCount, 1), 4) - 1] + RIGHT_OVERHANG_OFFSET;
}

// Group numbers of the model (form_fields.h).
const GROUP = { Deck: 0, Site: 1, Wind: 2, BuildingShape: 3, RoofShape: 4, Snow: 5,
  OtherLoads: 6, DirectLoad: 7, Span: 8, Commands: 9, SettingsDialog: 10 };

const BUILT_IN_CHOICE_PICTURES = ['pictures/roof_type_default.png',
  'pictures/building_shape_default.png', 'pictures/roof_shape_default.png'];
const OVERHANG_SIDES = ['none', 'left', 'right', 'both'];

function element(tag, parent, { className, text, x, y, w, h } = {}) {
  const e = document.createElement(tag);
  if (className) e.className = className;
  if (text !== undefined) e.textContent = text;
  place(e, x, y, w, h);
  parent?.appendChild(e);
  return e;
}

function place(e, x, y, w, h) {
  if (x !== undefined) e.style.left = `${x}px`;
  if (y !== undefined) e.style.top = `${y}px`;
  if (w !== undefined) e.style.width = `${w}px`;
  if (h !== undefined) e.style.height = `${h}px`;
}

const label = (parent, text, x, y, w) => element('span', parent, { className: 'label', text, x, y, w });

export class InputScreen {
  // `app` gives the session, the field catalogue and the window's services
  // (message box, commands).
  constructor(app, root) {
    this.app = app;
    this.session = app.session;
    this.fields = app.fields;
    this.byName = Object.fromEntries(this.fields.map((f) => [f.name, f]));
    this.controls = new Map();  // field id -> element
    this.choices = new Map();   // field id -> option buttons
    this.captions = new Map();
    this.groups = new Map();
    this.following = false;
    this.root = root;
    this.build();
  }

  id(name) {
    return this.byName[name].id;
  }

  // ---- Building the window

  group(groupName, title, parent, x, y, w, h) {
    const g = element('fieldset', parent, { className: 'group', x, y, w, h });
    if (title) element('legend', g, { text: title });
    if (groupName) this.groups.set(GROUP[groupName], g);
    return g;
  }

  bind(name, e) {
    const f = this.byName[name];
    e.dataset.field = name;
    // A name for assistive technology: the field's caption, else its hint.
    if (/^(INPUT|SELECT)$/.test(e.tagName) && !e.closest('label') && !e.hasAttribute('aria-label')) {
      e.setAttribute('aria-label', (f.caption.trim() || f.tooltip || name).replace(/\s+/g, ' '));
    }
    this.controls.set(f.id, e);
    e.addEventListener('mouseenter', () => this.pointerRestsOn(f.id));
    e.addEventListener('focus', () => this.focused(f.id));
    return e;
  }

  list(name, parent, x, y, w) {
    const select = this.bind(name, element('select', parent, { x, y, w, h: ROW }));
    const id = this.id(name);
    select.addEventListener('change', () => this.act(() => this.session.selectIndex(id, select.selectedIndex)));
    return select;
  }

  textField(name, parent, x, y, w) {
    const input = this.bind(name, element('input', parent, { className: 'field', x, y, w, h: ROW }));
    input.type = 'text';
    input.autocomplete = 'off';
    const id = this.id(name);
    onTextInput(input, (text) => {
      this.act(() => this.session.editText(id, text));
      this.update(id);  // a refused edit leaves the model as it was
    });
    return input;
  }

  spinField(name, parent, x, y, w) {
    const box = element('span', parent, { className: 'spin', x, y, w, h: ROW });
    const input = this.textField(name, box, 0, 0, w - 16);
    const id = this.id(name);
    const arrow = (text, direction, top) => {
      const b = element('button', box, { className: 'arrow', text, x: w - 16, y: top, w: 16, h: ROW / 2 });
      b.tabIndex = -1;
      b.type = 'button';
      b.setAttribute('aria-label', direction > 0 ? '増やす' : '減らす');
      b.addEventListener('mousedown', (event) => event.preventDefault());
      b.addEventListener('click', () => this.step(id, direction));
    };
    arrow('▲', 1, 0);
    arrow('▼', -1, ROW / 2);
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

  display(name, parent, x, y, w, h, className = 'display') {
    return this.bind(name, element('span', parent, { className, x, y, w, h }));
  }

  // A caption with a run of blanks that a value fills ("平均風速 Ｖ0 =      m/sec").
  valueInGap(name, parent, x, y, valueWidth) {
    const caption = this.byName[name].caption;
    const gap = caption.indexOf('  ');
    let end = gap;
    while (end < caption.length && caption[end] === ' ') end += 1;
    const row = element('span', parent, { className: 'gap-row', x, y });
    element('span', row, { text: caption.slice(0, gap) });
    const value = this.bind(name, element('span', row, { className: 'gap-value' }));
    value.style.width = `${valueWidth}px`;
    element('span', row, { text: caption.slice(end) });
    return value;
  }

  option(name, parent, x, y, w, text) {
    const id = this.id(name);
    const wrapper = element('label', parent, { className: 'option', x, y, w, h: 20 });
    const input = element('input', wrapper);
    input.type = 'radio';
    input.name = `option-${parent.dataset.groupName ?? name}`;
    element('span', wrapper, { text });
    this.bind(name, input);
    input.addEventListener('click', () => this.act(() => this.session.clickChoice(id, 0)));
    return input;
  }

  choiceGroup(name, groupName, parent, x, slot) {
    const f = this.byName[name];
    const box = this.group(groupName, f.caption, parent, x, 154, 188, 138);
    const buttons = f.items.map((item, i) => {
      const wrapper = element('label', box, { className: 'option', x: 6, y: 22 + 22 * i, w: 84, h: 20 });
      const input = element('input', wrapper);
      input.type = 'radio';
      input.name = `choice-${name}`;
      input.dataset.field = name;
      input.addEventListener('mouseenter', () => this.pointerRestsOn(f.id));
      input.addEventListener('focus', () => this.focused(f.id));
      input.addEventListener('click', () => this.act(() => this.session.clickChoice(f.id, i)));
      element('span', wrapper, { text: item });
      return input;
    });
    this.choices.set(f.id, buttons);
    const picture = element('img', box, { className: 'picture', x: 90, y: 48, w: 94, h: 60 });
    picture.alt = '';
    picture.src = BUILT_IN_CHOICE_PICTURES[slot];
    this.choicePictures[slot] = picture;
    if (groupName !== 'Wind') box.dataset.field = name;
    return box;
  }

  build() {
    const w = element('div', this.root, { className: 'window' });
    w.id = 'input-screen';
    w.setAttribute('role', 'application');
    this.window = w;
    this.titleBar = element('div', w, { className: 'title-bar' });
    this.client = element('div', w, { className: 'client' });
    this.client.style.width = `${CLIENT_WIDTH}px`;
    this.choicePictures = [];

    this.buildDeckGroup();
    this.buildSiteGroup();
    this.buildWindGroup();
    this.buildSnowGroup();
    this.buildLoadGroups();
    this.buildSpanGroup();
    this.buildCommandBar();
    this.statusBar = element('div', this.client, { className: 'status-bar' });
    this.statusBar.setAttribute('role', 'status');
  }

  buildDeckGroup() {
    const g = this.group('Deck', 'デッキ', this.client, 4, 2, 474, 104);
    label(g, 'デッキ種類', 8, 22);
    this.list('DeckType', g, 66, 19, 92);
    label(g, '表面処理', 8, 48);
    this.list('SurfaceTreatment', g, 66, 45, 58);
    label(g, '単位重量', 8, 74);
    this.textField('UnitWeight', g, 66, 71, 50);
    label(g, 'N/㎡', 120, 74);
    const joints = this.group(null, '梁との接合', g, 166, 12, 300, 86);
    label(joints, '端　部', 8, 26);
    this.list('EndJoint', joints, 48, 23, 244);
    label(joints, '中間部', 8, 56);
    this.list('MidJoint', joints, 48, 53, 244);
  }

  buildSiteGroup() {
    const g = this.group('Site', '[所在地]', this.client, 482, 2, 305, 104);
    label(g, '都道府県', 10, 24);
    this.list('Prefecture', g, 70, 21, 100);
    label(g, '地  域', 10, 54);
    this.list('District', g, 70, 51, 150);
    const box = this.bind('HeavySnow', element('input', g, { x: 190, y: 23, w: 18, h: 18 }));
    box.type = 'checkbox';
    box.id = 'heavy-snow';
    const caption = element('label', g, { className: 'label', text: '多雪地域', x: 210, y: 24 });
    caption.htmlFor = 'heavy-snow';
    this.captions.set(this.id('HeavySnow'), caption);
    // Below the district: whether the site data may be used for a design.
    this.siteDataNotice = element('span', g, { className: 'site-data-notice', x: 10, y: 74, w: 305 - 18, h: 28 });
    this.siteDataNotice.id = 'site-data-notice';
  }

  buildWindGroup() {
    const g = this.group('Wind', '風荷重の設定', this.client, 4, 110, 392, 297);
    label(g, '粗 度 区 分', 8, 24);
    this.list('Roughness', g, 80, 21, 44);
    const roughness = element('img', g, { className: 'picture', x: 184, y: 16, w: 200, h: 60 });
    roughness.src = 'pictures/roughness.png';
    roughness.alt = '';
    this.valueInGap('WindSpeedV0', g, 8, 52, 32).classList.add('bold');
    [['EavesHeightH1', 80], ['BuildingHeightH2', 104], ['SpanDirectionLengthD', 128]].forEach(([name, y]) => {
      label(g, this.byName[name].caption, 8, y);
      this.textField(name, g, 116, y - 3, 52);
      label(g, 'mm', 172, y);
    });
    const dimensions = element('img', g, { className: 'picture', x: 206, y: 80, w: 170, h: 80 });
    dimensions.src = 'pictures/building_dimensions.png';
    dimensions.alt = '';
    this.choiceGroup('RoofType', 'Wind', g, 6, 0);
    this.choiceGroup('BuildingShape', 'BuildingShape', g, 198, 1);
    this.choiceGroup('RoofShape', 'RoofShape', g, 198, 2);
  }

  buildSnowGroup() {
    const g = this.group('Snow', '積雪荷重の設定', this.client, 400, 110, 387, 208);
    label(g, '垂直積雪量', 8, 24);
    this.spinField('SnowDepth', g, 96, 21, 58);
    label(g, 'cm', 158, 24);
    label(g, '積雪の単位量ρ', 8, 52);
    this.spinField('SnowUnitWeight', g, 96, 49, 58);
    label(g, 'N/㎝/㎡', 158, 52);
    const method = this.group(null, '垂直積雪量の算定法', g, 214, 10, 166, 72);
    method.dataset.groupName = 'snow-mode';
    this.option('SnowModeInput', method, 6, 22, 92, '上欄へ入力');
    this.display('SnowDepthReference', method, 96, 24, 38, 16, 'display right');
    label(method, 'cm', 138, 24);
    this.option('SnowModeDerive', method, 6, 46, 130, '下記値より算出');
    const derived = this.group(null, '', g, 8, 86, 372, 114);
    const altitude = this.valueInGap('AltitudeReference', derived, 10, 12, 44);
    altitude.parentElement.appendChild(element('span', null, { text: ' m' }));
    label(derived, '標高', 10, 44);
    this.spinField('Altitude', derived, 44, 41, 62);
    label(derived, 'm', 110, 44);
    label(derived, '海率', 142, 44);
    this.spinField('SeaRatio', derived, 176, 41, 54);
    label(derived, '％', 234, 44);
    label(derived, '海率計算用半径', 10, 78);
    label(derived, 'R', 104, 78);
    this.display('RadiusR', derived, 114, 78, 22, 16, 'display right');
    label(derived, 'km', 140, 78);
  }

  buildLoadGroups() {
    const other = this.group('OtherLoads', 'その他の荷重', this.client, RIGHT_COLUMN, 322, RIGHT_WIDTH, 85);
    label(other, ' (N/㎡)', 176, 26);
    label(other, '仕上げ', 8, 26);
    label(other, '荷重', 54, 26);
    this.spinField('FinishingLoad', other, 96, 23, 72);
    label(other, '積載', 8, 54);
    label(other, '荷重', 54, 54);
    this.spinField('LiveLoad', other, 96, 51, 72).classList.add('grey');
    const direct = this.group('DirectLoad', '荷重値直接設定', this.client, LEFT_COLUMN, 110, LEFT_WIDTH, 95);
    label(direct, ' (N/㎡)', 220, 26);
    [['WindPositive', 26], ['WindNegative', 50], ['DirectSnowLoad', 74]].forEach(([name, y]) => {
      label(direct, this.byName[name].caption, 8, y);
      this.spinField(name, direct, 132, y - 3, 80);
    });
  }

  buildSpanGroup() {
    const g = this.group('Span', '', this.client, LEFT_COLUMN, 412, CLIENT_WIDTH - 8, SPAN_GROUP_HEIGHT);
    g.classList.add('untitled');
    this.arrangementPicture = element('img', g, { className: 'picture', x: 80, y: 4, w: 640, h: 40 });
    this.arrangementPicture.alt = '';
    label(g, '荷重ΣＷ', 8, 18);
    label(g, 'スパン[mm]', 8, 52);
    for (let n = 1; n <= 4; ++n) this.textField(`Span${n}`, g, SPAN_FIELD_LEFTS[n - 1], SPAN_FIELD_TOP, SPAN_FIELD_WIDTH);
    this.textField('LeftOverhang', g, LEFT_OVERHANG_LEFT, SPAN_FIELD_TOP, SPAN_FIELD_WIDTH);
    this.textField('RightOverhang', g, rightOverhangLeft(this.session.screen().shownSpanCount), SPAN_FIELD_TOP, SPAN_FIELD_WIDTH);
    label(g, 'スパン数', 726, 6);
    this.spinField('SpanCount', g, 726, 21, 50);
    label(g, 'はね出し', 726, 43);
    this.list('Overhang', g, 726, 58, 50);
  }

  buildCommandBar() {
    this.commandBar = element('div', this.client, { className: 'command-bar' });
    ['OverviewButton', 'FireResistanceButton', 'SettingsButton', 'LoadButton', 'SaveButton',
      'CalculateButton', 'ExitButton'].forEach((name, i) => {
      const f = this.byName[name];
      const button = this.bind(name, element('button', this.commandBar, { className: 'command', text: f.caption, x: 8 + 111 * i, y: 4, w: 104, h: 28 }));
      button.type = 'button';
      button.addEventListener('click', () => this.command(name));
    });
    element('span', this.commandBar, { className: 'product', text: this.app.texts.applicationTitle, x: 8, y: 38 });
    this.versionLabel = element('span', this.commandBar, { className: 'version', x: 112, y: 38, w: 160 });
    const terms = this.bind('TermsLink', element('button', this.commandBar, { className: 'link', text: this.byName.TermsLink.caption, x: CLIENT_WIDTH - 8 - 240, y: 36, w: 240, h: 18 }));
    terms.type = 'button';
    terms.addEventListener('click', () => this.command('TermsLink'));
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
      for (const f of this.fields) if (f.group !== GROUP.SettingsDialog) this.update(f.id);
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
    switch (f.kind) {
      case 'list': {
        const shown = [...e.options].map((o) => o.text);
        if (shown.join('\n') !== s.items.join('\n') || shown.length !== s.items.length) {
          e.replaceChildren(...s.items.map((item) => new Option(item)));
        }
        e.selectedIndex = s.index;
        break;
      }
      case 'spin':
      case 'text':
        if (e.value !== s.text) e.value = s.text;
        e.readOnly = !s.takesTyping;
        break;
      case 'check':
        e.checked = s.index === 1;
        this.captions.get(id).style.color = this.session.screen().heavySnowCaption;
        break;
      case 'option':
        e.checked = s.index === 1;
        e.parentElement.classList.toggle('chosen', s.index === 1);
        break;
      case 'display':
        e.textContent = s.text;
        break;
      default:
        break;
    }
  }

  applyLayout() {
    const screen = this.session.screen();
    const layout = LAYOUT_GEOMETRY[screen.layoutMethod === 1 ? 1 : 0];
    // The heights are of the whole window, with a 28-pixel title bar.
    const clientHeight = layout.windowHeight - 28;
    this.client.style.height = `${clientHeight}px`;
    place(this.groups.get(GROUP.OtherLoads), RIGHT_COLUMN, layout.otherLoadsTop, RIGHT_WIDTH, layout.otherLoadsHeight);
    place(this.groups.get(GROUP.DirectLoad), LEFT_COLUMN, layout.directLoadTop, LEFT_WIDTH, 95);
    place(this.groups.get(GROUP.Span), LEFT_COLUMN, layout.spanGroupTop, CLIENT_WIDTH - 8, SPAN_GROUP_HEIGHT);
    place(this.commandBar, 0, layout.commandBarTop, CLIENT_WIDTH, COMMAND_BAR_HEIGHT);
    place(this.statusBar, 0, clientHeight - STATUS_BAR_HEIGHT, CLIENT_WIDTH, STATUS_BAR_HEIGHT);
    for (const [group, box] of this.groups) box.hidden = !screen.groupsShown[group];
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
    const side = OVERHANG_SIDES[screen.overhangCode >= 1 && screen.overhangCode <= 3 ? screen.overhangCode : 0];
    const count = Math.min(Math.max(screen.shownSpanCount, 1), 4);
    this.arrangementPicture.src = `pictures/arrangement_s${count}_${side}.png`;
    this.arrangementPicture.dataset.picture = `s${count}_${side}`;
    place(this.controls.get(this.id('RightOverhang')), rightOverhangLeft(screen.shownSpanCount), SPAN_FIELD_TOP);
    screen.choicePictures.forEach((name, slot) => {
      const picture = this.choicePictures[slot];
      if ((picture.dataset.name ?? '') === name) return;
      if (!name) {
        picture.dataset.name = '';
        picture.src = BUILT_IN_CHOICE_PICTURES[slot];
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
        this.app.messageBox(PAGE_TEXTS.picturesMissing(files));
      }, PICTURE_FAILURE_WAIT_MS);
    }
    if (!this.failedPictures.includes(file)) this.failedPictures.push(file);
  }

  show(visible) {
    this.window.hidden = !visible;
  }
}

