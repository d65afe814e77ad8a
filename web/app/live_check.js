// The live check beside the input screen: the verdict, the utilisation of
// every check and the deck comparison of the inputs as they stand, or the
// input check's message. Every text, size and colour comes from the model;
// the panel follows the screen's changes on the next turn of the event loop,
// and a change that arrives before then replaces the one waiting.

const PANEL_SHOWN = 'tavilo.liveCheck';

const make = (tag, parent, className, text) => {
  const e = document.createElement(tag);
  if (className) e.className = className;
  if (text !== undefined) e.textContent = text;
  parent?.appendChild(e);
  return e;
};

export class LiveCheckPanel {
  // `app` gives the session and the input screen; the panel stands in `root`
  // beside the screen's window.
  constructor(app, root, layout) {
    this.app = app;
    this.session = app.session;
    this.layout = layout;
    this.pending = false;
    this.updates = 0;
    this.wanted = localStorage.getItem(PANEL_SHOWN) !== 'hidden';
    this.build(root);
    // The panel goes and comes with the input screen.
    this.screenWindow = app.inputScreen.window;
    new MutationObserver(() => this.follow()).observe(this.screenWindow, {
      attributes: true,
      attributeFilter: ['hidden'],
    });
    this.updateNow();
    this.follow();
  }

  build(root) {
    const l = this.layout;
    this.root = root;
    this.element = make('aside', root, 'window live-check');
    this.element.id = 'live-check';
    this.element.style.width = `${l.width}px`;
    this.titleBar = make('div', this.element, 'title-bar');
    const body = make('div', this.element, 'live-body');
    this.guidance = make('p', body, 'guidance');
    const verdictRow = make('div', body, 'verdict-row');
    this.verdictCaption = make('span', verdictRow, 'caption');
    this.verdict = make('span', verdictRow, 'live-verdict');
    this.verdict.setAttribute('aria-live', 'polite');
    this.refusalBox = make('div', body, 'refusal');
    this.refusalCaption = make('div', this.refusalBox, 'caption');
    this.refusal = make('div', this.refusalBox, 'message');
    this.refusal.style.color = l.refused;
    // The field named is a link: a click puts the input focus there.
    this.refusalField = make('a', this.refusalBox, 'field');
    this.refusalField.href = '#';
    this.refusalField.addEventListener('click', (event) => {
      event.preventDefault();
      const id = this.panel.refusalFocus;
      this.app.inputScreen.act(() => this.session.focusField(id));
    });
    this.checksCaption = make('div', body, 'section-caption');
    this.checks = make('table', body, 'checks');
    this.decksCaption = make('div', body, 'section-caption');
    this.decks = make('table', body, 'decks');
    this.decks.setAttribute('role', 'grid');
    this.deckNote = make('p', body, 'note');
    this.chooseHint = make('p', body, 'note');
    this.hideButton = make('button', body, 'hide');
    this.hideButton.type = 'button';
    this.hideButton.addEventListener('click', () => this.setWanted(false));
    // While the panel is hidden this button brings it back.
    this.showButton = make('button', root, 'live-check-show');
    this.showButton.type = 'button';
    this.showButton.addEventListener('click', () => this.setWanted(true));
  }

  // The panel follows the screen: the next turn brings it up to date.
  schedule() {
    if (this.pending) return;
    this.pending = true;
    // A hidden panel waits: it catches up when shown again.
    if (this.element.hidden) return;
    // A message, unlike a timer, is not held back by the browser's clamping.
    this.turn ??= new MessageChannel();
    this.turn.port1.onmessage = () => {
      if (this.pending) this.updateNow();
    };
    this.turn.port2.postMessage(null);
  }

  updateNow() {
    this.pending = false;
    this.updates += 1;
    this.show(this.session.liveCheck());
    // When the panel last caught up (bench/web).
    this.updatedAt = performance.now();
  }

  setWanted(wanted) {
    this.wanted = wanted;
    localStorage.setItem(PANEL_SHOWN, wanted ? 'shown' : 'hidden');
    this.follow();
  }

  follow() {
    const screenShown = !this.screenWindow.hidden;
    this.element.hidden = !(this.wanted && screenShown);
    // Room for the panel beside the screen, so that both are centred together.
    this.root.style.paddingRight = this.element.hidden ? '' : `${this.layout.width + this.layout.gap}px`;
    this.showButton.hidden = this.wanted || !screenShown;
    if (!this.element.hidden && this.pending) this.updateNow();
  }

  show(panel) {
    const l = this.layout;
    this.panel = panel;
    this.titleBar.textContent = panel.title;
    this.guidance.textContent = panel.guidance;
    this.verdictCaption.textContent = panel.verdictCaption;
    this.verdict.textContent = panel.verdict;
    this.verdict.style.color = panel.ok ? l.passing : l.failing;
    this.verdict.hidden = !panel.calculated;
    this.element.dataset.verdict = panel.calculated ? (panel.ok ? 'ok' : 'ng') : 'refused';

    this.refusalBox.hidden = panel.calculated;
    this.refusalCaption.textContent = panel.refusalCaption;
    this.refusal.textContent = panel.refusalMessage;
    this.refusalField.textContent = panel.refusalField;

    this.checksCaption.textContent = panel.checksCaption;
    this.checksCaption.hidden = !panel.calculated;
    this.checks.hidden = !panel.calculated;
    this.checks.replaceChildren();
    const head = make('tr', this.checks);
    panel.checkColumns.forEach((text, i) => {
      const th = make('th', head, '', text);
      if (i === 2) th.colSpan = 2;
    });
    panel.checks.forEach((row) => {
      const tr = make('tr', this.checks, row.exceeded ? 'exceeded' : '');
      make('td', tr, 'label', row.label);
      const figures = make('td', tr, 'figures', row.figures);
      if (row.where) make('div', figures, 'where', row.where).style.color = l.placeText;
      const barCell = make('td', tr, 'bar-cell');
      if (row.applies) {
        const bar = make('div', barCell, 'bar');
        bar.style.width = `${l.barWidth}px`;
        bar.style.height = `${l.barHeight}px`;
        bar.style.background = l.barGround;
        const fill = make('div', bar, 'fill');
        fill.style.width = `${Math.round(row.bar * l.barWidth)}px`;
        fill.style.background = row.exceeded ? l.failing : l.passing;
      }
      const ratio = make('td', tr, 'ratio', row.ratioText);
      ratio.style.color = row.exceeded ? l.failing : l.passing;
    });

    this.decksCaption.textContent = panel.decksCaption;
    const focused = document.activeElement?.closest?.('#live-check tr[data-deck]')?.dataset.deck;
    this.decks.replaceChildren();
    const deckHead = make('tr', this.decks);
    panel.deckColumns.forEach((text) => make('th', deckHead, '', text));
    panel.decks.forEach((row) => {
      const tr = make('tr', this.decks, 'deck');
      tr.dataset.deck = String(row.deckType);
      tr.tabIndex = 0;
      tr.title = row.tooltip;
      if (row.current) tr.style.background = l.currentRow;
      else if (row.lightestPassing) tr.style.background = l.lightestRow;
      make('td', tr, 'name', row.name);
      const colour = row.exceeded || !row.ratioText ? l.failing : l.passing;
      make('td', tr, 'deck-verdict', row.verdict).style.color = colour;
      make('td', tr, 'ratio', row.ratioText ? `${row.ratioText} ${row.governing}` : '').style.color = colour;
      make('td', tr, 'marks', row.marks);
      tr.addEventListener('click', () => this.choose(row.deckType));
      tr.addEventListener('keydown', (event) => {
        if (event.key === 'Enter') this.choose(row.deckType);
      });
      if (focused === tr.dataset.deck) tr.focus();
    });
    this.deckNote.textContent = panel.deckNote;
    this.chooseHint.textContent = panel.chooseHint;
    this.hideButton.textContent = panel.hideCaption;
    this.showButton.textContent = panel.showCaption;
  }

  // The deck chosen on the input screen, as if chosen in its list.
  async choose(deckType) {
    await this.app.inputScreen.carryOut(this.session.chooseDeck(deckType));
  }
}
