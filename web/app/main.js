// The browser edition's start-up and commands: the WebAssembly module with
// the session, the location tables in its file system, the input screen,
// the result and span table windows and the project files. Nothing entered
// leaves the browser: files are read from and saved to the user's disk.

import { ASSETS, assetUrl, importAsset } from './assets.js';
import { BUILD } from './build.js';
import { InputScreen } from './input_screen.js';
import { LiveCheckPanel } from './live_check.js';
import { ReportWindow } from './report_view.js';
import { loadReportFonts, reportFontsLoaded } from './painters.js';
import { takeHandedProject } from './handed_project.js';
import {
  askQuestion,
  askToSaveChanges,
  busyPanel,
  filledIn,
  messageBox,
  PrintSettingsWindow,
  SettingsWindow,
  showFireResistance,
  showNotice,
  showOverview,
} from './dialogs.js';

// The module's own file system: the project files (the tables are in the
// data folder at its root).
const FS_PROJECTS = '/projects';
// The browser's storage stands for the marker file of the settings folder.
const NOTICE_MARKER = 'tavilo.noticeShown';
const OWN_TABLE = (name) => `tavilo.table.${name}`;
// The name of the user's own table file as chosen.
const OWN_TABLE_NAME = (name) => `tavilo.tableName.${name}`;
// The inputs not yet saved, kept against a reload or a closed tab.
const DRAFT = 'tavilo.draft';
const FS_DRAFT = '/drafts/draft.tvl';
const DRAFT_INTERVAL_MS = 1500;
// The version of the page's files seen on the last visit.
const BUILD_SEEN = 'tavilo.build';

// A file of the page that could not be loaded: named on the page by boot.js.
class StartFailure extends Error {
  constructor(file, detail) {
    super(`${file}: ${typeof detail === 'object' && detail ? `HTTP ${detail.status}` : detail}`);
    this.file = file;
    this.detail = detail;
  }
}

// The module and its WebAssembly; the WebAssembly is asked for at once.
async function loadModule() {
  const wasmFile = ASSETS['tavilo.wasm'];
  // The page opened from a disk carries its WebAssembly inside the module.
  const wasm = wasmFile ? fetch(assetUrl('tavilo.wasm')).catch(() => null) : null;
  let createTavilo;
  try {
    ({ default: createTavilo } = await importAsset('tavilo.mjs'));
  } catch (error) {
    throw new StartFailure(ASSETS['tavilo.mjs'], error.message);
  }
  if (!wasmFile) return createTavilo();
  const instantiate = async (imports) => {
    const response = await wasm;
    if (!response) throw new StartFailure(wasmFile, null);
    if (!response.ok) throw new StartFailure(wasmFile, { status: response.status });
    const type = response.headers.get('Content-Type') ?? '';
    if (type.startsWith('application/wasm')) return WebAssembly.instantiateStreaming(response, imports);
    // A server that names it otherwise still sends the right bytes.
    return WebAssembly.instantiate(await response.arrayBuffer(), imports);
  };
  let fail;
  const failed = new Promise((_, reject) => {
    fail = reject;
  });
  const created = createTavilo({
    instantiateWasm(imports, receive) {
      instantiate(imports).then(
        (r) => receive(r.instance, r.module),
        (error) => fail(error instanceof StartFailure ? error : new StartFailure(wasmFile, error.message)),
      );
      return {};
    },
  });
  return Promise.race([created, failed]);
}

const bytesToBase64 = (bytes) => {
  let text = '';
  for (let i = 0; i < bytes.length; i += 0x8000) text += String.fromCharCode(...bytes.subarray(i, i + 0x8000));
  return btoa(text);
};
const base64ToBytes = (text) => Uint8Array.from(atob(text), (c) => c.charCodeAt(0));

// The served tables, asked for as soon as the module names them.
const servedTables = ({ dataFolder, tableFiles }) =>
  tableFiles.map((name) => (localStorage.getItem(OWN_TABLE(name)) !== null ? null : fetch(`${dataFolder}/${name}`)));

class App {
  constructor(module, tableFetches) {
    this.module = module;
    this.tableFetches = tableFetches;
    this.fields = module.fieldCatalogue();
    this.texts = module.programTexts();
    // The data folder served beside the page, with the location tables.
    this.dataFolder = this.texts.dataFolder;
    this.fsData = `/${this.dataFolder}`;
    this.dialogs = 0;
    this.keptDraft = undefined;
    // A draft of the last visit stays until the user has answered for it.
    this.draftPending = localStorage.getItem(DRAFT) !== null;
    this.leaving = false;
  }

  // The tables served beside the page, or the user's own from the storage.
  // Answers the messages about tables the server did not send.
  async installTables() {
    const { FS } = this.module;
    FS.mkdirTree(this.fsData);
    FS.mkdirTree(FS_PROJECTS);
    FS.mkdirTree(FS_DRAFT.slice(0, FS_DRAFT.lastIndexOf('/')));
    FS.chdir(FS_PROJECTS);
    const problems = await Promise.all(
      this.texts.tableFiles.map(async (name, i) => {
        const own = localStorage.getItem(OWN_TABLE(name));
        if (own !== null) {
          FS.writeFile(`${this.fsData}/${name}`, base64ToBytes(own));
          return null;
        }
        const file = `${this.dataFolder}/${name}`;
        try {
          const response = await this.tableFetches[i];
          if (!response.ok) return this.tableNotServed(file, response.status);
          FS.writeFile(`${this.fsData}/${name}`, new Uint8Array(await response.arrayBuffer()));
          return null;
        } catch {
          return this.tableNotServed(file, 0);
        }
      }),
    );
    return problems.filter(Boolean);
  }

  // A status of 0: the server did not answer at all.
  tableNotServed(file, status) {
    const { tableNotServed, httpStatusNote } = this.texts;
    return filledIn(tableNotServed, file, status ? filledIn(httpStatusNote, status) : '');
  }

  // The model names a table by its place in the module's file system; the
  // user knows it by the file chosen, or as the page's Load_data.
  userFileNames(text) {
    return this.texts.tableFiles.reduce(
      (t, name) =>
        t.replaceAll(
          `${this.fsData}/${name}`,
          localStorage.getItem(OWN_TABLE_NAME(name)) ??
            (localStorage.getItem(OWN_TABLE(name)) !== null ? name : `${this.dataFolder}/${name}`),
        ),
      text,
    );
  }

  async start(root) {
    const tableProblems = await this.installTables();
    this.session = new this.module.Session(this.fsData, FS_PROJECTS);
    const failure = this.session.startUp(this.module.programVersion());
    this.inputScreen = new InputScreen(this, root);
    this.resultWindow = new ReportWindow(this, root, 'report');
    this.spanTableWindow = new ReportWindow(this, root, 'spanTable');
    this.settingsWindow = new SettingsWindow(this);
    this.printSettingsWindow = new PrintSettingsWindow(this);
    this.buildResultTools();
    this.inputScreen.refresh();
    this.liveCheck = new LiveCheckPanel(this, root, this.module.livePanelLayout());
    // Every action of the screen ends in carryOut: the panel follows it.
    const carryOut = this.inputScreen.carryOut.bind(this.inputScreen);
    this.inputScreen.carryOut = async (events) => {
      try {
        await carryOut(events);
      } finally {
        this.liveCheck.schedule();
      }
    };
    this.inputScreen.focusControl(this.session.screen().focus);
    document.body.dataset.ready = 'true';
    window.taviloStarted?.();
    // Milliseconds from the start of the page's navigation (bench/web).
    window.taviloTimings = { inputScreenReady: performance.now() };
    // The report fonts arrive while the user types; then the offline copy.
    loadReportFonts().then(
      () => this.keepOffline(),
      () => {},
    );
    window.addEventListener('beforeunload', (event) => {
      this.keepDraft();
      if (!this.leaving && this.session.hasUnsavedChanges()) event.preventDefault();
    });
    window.addEventListener('pagehide', () => this.keepDraft());
    document.addEventListener('visibilitychange', () => this.keepDraft());
    setInterval(() => this.keepDraft(), DRAFT_INTERVAL_MS);
    if (localStorage.getItem(NOTICE_MARKER) !== this.texts.noticeStamp) {
      await showNotice(this.texts);
      localStorage.setItem(NOTICE_MARKER, this.texts.noticeStamp);
    }
    for (const problem of tableProblems) await this.messageBox(problem);
    if (failure) await this.messageBox(this.userFileNames(failure));
    this.announceNewVersion();
    await this.offerDraft();
    this.openLaunchedFiles();
  }

  // ---- Offline: the service worker keeps this version's files.
  keepOffline() {
    if (!('serviceWorker' in navigator) || window.taviloNoServiceWorker) return;
    navigator.serviceWorker.register('sw.js').catch(() => {});
  }

  announceNewVersion() {
    const seen = localStorage.getItem(BUILD_SEEN);
    localStorage.setItem(BUILD_SEEN, BUILD);
    if (seen === null || seen === BUILD) return;
    const note = document.getElementById('update-note');
    note.textContent = this.texts.newVersionNote;
    note.hidden = false;
  }

  // .tvl files opened with the installed page (file handling).
  openLaunchedFiles() {
    if (!('launchQueue' in window)) return;
    window.launchQueue.setConsumer(async (parameters) => {
      const [handle] = parameters.files ?? [];
      if (!handle || !(await this.unsavedChangesSettled())) return;
      await this.loadProject(await handle.getFile());
    });
  }

  // ---- The draft of unsaved inputs in the browser's storage.
  keepDraft() {
    if (!this.session || this.leaving || this.draftPending) return;
    if (!this.session.hasUnsavedChanges()) {
      this.forgetDraft();
      return;
    }
    if (this.session.writeDraft(FS_DRAFT) !== null) return;
    const text = bytesToBase64(this.module.FS.readFile(FS_DRAFT));
    if (text === this.keptDraft) return;
    try {
      localStorage.setItem(DRAFT, text);
      this.keptDraft = text;
    } catch {
      // No room in the storage: the inputs stay on the screen as they are.
    }
  }

  forgetDraft() {
    if (this.keptDraft === null) return;
    localStorage.removeItem(DRAFT);
    this.keptDraft = null;
  }

  async offerDraft() {
    const draft = localStorage.getItem(DRAFT);
    this.draftPending = false;
    if (draft === null) return;
    this.draftPending = true;
    this.dialogs += 1;
    let answer;
    try {
      answer = await askQuestion(this.texts.applicationTitle, this.texts.draftOffer, this.texts.draftAnswers);
    } finally {
      this.dialogs -= 1;
      this.draftPending = false;
    }
    if (answer !== 0) {
      localStorage.removeItem(DRAFT);
      this.keptDraft = null;
      return;
    }
    this.module.FS.writeFile(FS_DRAFT, base64ToBytes(draft));
    this.keptDraft = draft;
    const restored = this.session.restoreDraft(FS_DRAFT);
    const events = [...restored.events];
    if (restored.failure !== null) events.push({ kind: 'message', field: -1, text: restored.failure });
    await this.inputScreen.carryOut(events);
  }

  // Leaves the page for a reload without asking again: the question about
  // unsaved inputs has been answered.
  reloadAnswered() {
    this.leaving = true;
    this.forgetDraft();
    window.location.reload();
  }

  // The tool bars in the desktop's order: the commands of the spacer stand
  // to the right, before 印刷の設定 (result) or 閉じる (span table).
  buildResultTools() {
    const t = this.texts;
    const r = this.resultWindow;
    r.tool(t.printCommand, () => r.print());
    r.tool(t.closeResultCommand, () => this.closeResult());
    r.spacer();
    r.tool(t.reportPreviewCommand, () => r.preview());
    r.tool(t.reportPdfCommand, () => r.savePdf());
    r.tool(t.spanTableCommand, () => this.showSpanTable());
    r.tool(t.printSettingsCommand, () => this.printSettingsWindow.open());
    const s = this.spanTableWindow;
    s.tool(t.printCommand, () => s.print());
    s.tool(t.spanTablePreviewCommand, () => s.preview());
    s.tool(t.spanTablePdfCommand, () => s.savePdf());
    s.spacer();
    s.tool(t.closeSpanTableCommand, () => {
      s.hide();
      r.show();
    });
  }

  noDialogOpen() {
    return this.dialogs === 0 && !document.querySelector('dialog[open].modal');
  }

  async messageBox(text) {
    this.dialogs += 1;
    try {
      await messageBox(this.texts, text);
    } finally {
      this.dialogs -= 1;
    }
  }

  busy(caption) {
    return busyPanel(caption);
  }

  async command(name) {
    switch (name) {
      case 'OverviewButton':
        return showOverview(this.texts, this.dataFolder, this.module.programVersion(), (t) => this.messageBox(t));
      case 'FireResistanceButton':
        return showFireResistance(this.texts);
      case 'SettingsButton':
        return this.settingsWindow.open();
      case 'LoadButton':
        return this.chooseProject();
      case 'SaveButton':
        return this.saveProject();
      case 'CalculateButton':
        return this.calculate();
      case 'ExitButton':
        return this.exit();
      case 'TermsLink':
        return showNotice(this.texts);
      default:
        return undefined;
    }
  }

  // ---- 計　算: the verdict does not wait for the report fonts; the busy
  // panel shows it until the report can be drawn.
  async calculate() {
    const started = performance.now();
    const busy = this.busy(this.texts.busyCalculating);
    // The panel is painted before the work starts.
    await new Promise((done) => requestAnimationFrame(() => setTimeout(done, 0)));
    let result;
    let drawn = false;
    try {
      result = this.session.calculate();
      if (result.calculated) {
        window.taviloTimings.verdict = performance.now();
        window.taviloTimings.verdictText = result.verdict.trim();
        if (!reportFontsLoaded()) {
          busy.caption(filledIn(this.texts.preparingReport, result.verdict.trim()));
          await loadReportFonts();
        }
        this.resultWindow.draw();
        drawn = true;
      }
    } catch (error) {
      if (!result?.calculated) throw error;
    } finally {
      busy.close();
    }
    await this.inputScreen.carryOut(result.events);
    if (!result.calculated) return;
    if (!drawn) {
      await this.messageBox(this.texts.reportFontsFailed);
      return;
    }
    this.inputScreen.show(false);
    this.resultWindow.show();
    window.taviloTimings.calculateToReport = performance.now() - started;
  }

  closeResult() {
    this.resultWindow.hide();
    this.spanTableWindow.hide();
    this.inputScreen.show(true);
    this.inputScreen.focusControl(this.session.screen().focus);
  }

  async showSpanTable() {
    const busy = this.busy(this.texts.busyCalculating);
    await new Promise((done) => requestAnimationFrame(() => setTimeout(done, 0)));
    let refusal;
    try {
      refusal = this.session.buildSpanTable();
      if (refusal === null) this.spanTableWindow.draw();
    } finally {
      busy.close();
    }
    if (refusal !== null) {
      await this.messageBox(refusal);
      return;
    }
    this.resultWindow.hide();
    this.spanTableWindow.show();
  }

  // ---- データ読込 and データ保存
  async unsavedChangesSettled() {
    if (!this.session.hasUnsavedChanges()) return true;
    const answer = await askToSaveChanges(this.texts);
    if (answer === 'save') return this.saveProject();
    return answer === 'discard';
  }

  // データ読込, and the chooser under the window: both ask first.
  async chooseProject() {
    if (!(await this.unsavedChangesSettled())) return;
    this.replacingAnswered = true;
    document.getElementById('project-file').click();
  }

  async projectChosen(file) {
    const answered = this.replacingAnswered;
    this.replacingAnswered = false;
    if (!answered && !(await this.unsavedChangesSettled())) return;
    await this.loadProject(file);
  }

  // A file chosen in the chooser, read as the desktop reads it.
  async loadProject(file) {
    const bytes = new Uint8Array(await file.arrayBuffer());
    const name = file.name.replaceAll('/', '_');
    this.module.FS.writeFile(`${FS_PROJECTS}/${name}`, bytes);
    const load = this.session.load(name);
    const events = [...load.events];
    if (load.failure !== null) events.push({ kind: 'message', field: -1, text: load.failure });
    await this.inputScreen.carryOut(events);
  }

  // A project the Windows launcher handed over in the page's address.
  async openHandedProject({ name, bytes, failure }) {
    if (failure) {
      const text = failure === 'tooLarge' ? this.texts.handedProjectTooLarge : this.texts.handedProjectUnreadable;
      await this.messageBox(text.replace('%1', name));
      return;
    }
    await this.loadProject(new File([bytes], name));
  }

  // Writes the project as the desktop does (CP932, CR LF) and hands the file
  // to the browser to save. False when nothing was saved.
  async saveProject() {
    const name = this.session.proposedFileName();
    const failure = this.session.save(name);
    if (failure !== null) {
      await this.messageBox(failure);
      return false;
    }
    const bytes = this.module.FS.readFile(`${FS_PROJECTS}/${name}`);
    const saved = await this.download(
      new Blob([bytes], { type: 'application/octet-stream' }),
      name,
      this.texts.projectFileType,
      this.texts.projectExtension,
    );
    this.inputScreen.refresh();
    return saved;
  }

  // Offers the file through the system's save dialog where the browser has
  // one, else as a download.
  async download(blob, name, description, extension) {
    if (window.showSaveFilePicker && !window.taviloDownloadsOnly) {
      try {
        const handle = await window.showSaveFilePicker({
          suggestedName: name,
          types: [{ description, accept: { 'application/octet-stream': [extension] } }],
        });
        const writable = await handle.createWritable();
        await writable.write(blob);
        await writable.close();
        return true;
      } catch (error) {
        if (error.name === 'AbortError') return false;
      }
    }
    const link = document.createElement('a');
    link.href = URL.createObjectURL(blob);
    link.download = name;
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 10000);
    return true;
  }

  // ---- The user's own location tables, kept in the browser's storage.
  // One question about unsaved inputs, before anything is stored.
  async useOwnTable(file) {
    const { tableFiles, ownTableChoice, ownTableSeparator } = this.texts;
    const name = tableFiles.find((t) => t.toLowerCase() === file.name.toLowerCase());
    if (!name) {
      await this.messageBox(ownTableChoice.replace('%1', tableFiles.join(ownTableSeparator)));
      return;
    }
    const bytes = new Uint8Array(await file.arrayBuffer());
    if (!(await this.unsavedChangesSettled())) return;
    const kept = [localStorage.getItem(OWN_TABLE(name)), localStorage.getItem(OWN_TABLE_NAME(name))];
    try {
      localStorage.setItem(OWN_TABLE(name), bytesToBase64(bytes));
      localStorage.setItem(OWN_TABLE_NAME(name), file.name);
    } catch {
      [OWN_TABLE(name), OWN_TABLE_NAME(name)].forEach((key, i) => {
        if (kept[i] === null) localStorage.removeItem(key);
        else localStorage.setItem(key, kept[i]);
      });
      await this.messageBox(filledIn(this.texts.tableTooLarge, file.name, (bytes.length / 1048576).toFixed(1)));
      return;
    }
    this.reloadAnswered();
  }

  async useShippedTables() {
    if (!(await this.unsavedChangesSettled())) return;
    this.texts.tableFiles.forEach((name) => {
      localStorage.removeItem(OWN_TABLE(name));
      localStorage.removeItem(OWN_TABLE_NAME(name));
    });
    this.reloadAnswered();
  }

  ownTablesInUse() {
    return this.texts.tableFiles
      .filter((name) => localStorage.getItem(OWN_TABLE(name)) !== null)
      .map((name) => localStorage.getItem(OWN_TABLE_NAME(name)) ?? name);
  }

  // ---- 終　了: the page cannot close its own tab; it ends the program's run.
  async exit() {
    if (!(await this.unsavedChangesSettled())) return;
    this.leaving = true;
    this.forgetDraft();
    this.session.delete();
    document.getElementById('app').replaceChildren();
    document.getElementById('ended').hidden = false;
    window.close();
  }
}

async function main() {
  const handed = takeHandedProject();
  let module;
  try {
    module = await loadModule();
  } catch (error) {
    window.taviloStartFailure?.(error.file ?? 'app/main.js', error.detail ?? error.message);
    return;
  }
  const tableFetches = servedTables(module.programTexts());
  tableFetches.forEach((f) => f?.catch(() => {}));
  const app = new App(module, tableFetches);
  window.tavilo = app;
  const root = document.getElementById('app');
  const ready = app.start(root).catch((error) => {
    if (document.body.dataset.ready !== 'true') window.taviloStartFailure?.('app/main.js', error.message);
    throw error;
  });
  const projectFile = document.getElementById('project-file');
  projectFile.addEventListener('click', (event) => {
    if (app.replacingAnswered || !app.session?.hasUnsavedChanges()) return;
    event.preventDefault();
    app.chooseProject();
  });
  projectFile.addEventListener('change', async (event) => {
    const [file] = event.target.files;
    event.target.value = '';
    if (file) await app.projectChosen(file);
    else app.replacingAnswered = false;
  });
  projectFile.addEventListener('cancel', () => {
    app.replacingAnswered = false;
  });
  document.getElementById('own-table').addEventListener('change', async (event) => {
    const [file] = event.target.files;
    event.target.value = '';
    if (file) await app.useOwnTable(file);
  });
  document.getElementById('shipped-tables').addEventListener('click', () => app.useShippedTables());
  const own = app.ownTablesInUse();
  document.getElementById('tables-in-use').textContent = own.length
    ? app.texts.ownTablesInUse.replace('%1', own.join(app.texts.ownTableNameSeparator))
    : app.texts.shippedTablesInUse;
  await ready;
  if (handed) await app.openHandedProject(handed);
}

main();
