// The browser edition's start-up and commands: the WebAssembly module with
// the session, the location tables in its file system, the input screen,
// the result and span table windows and the project files. Nothing entered
// leaves the browser: files are read from and saved to the user's disk.

import createTavilo from '../tavilo.mjs';
import { InputScreen } from './input_screen.js';
import { ReportWindow } from './report_view.js';
import { loadReportFonts } from './painters.js';
import {
  askToSaveChanges, busyPanel, messageBox, PrintSettingsWindow, SettingsWindow, showFireResistance,
  showNotice, showOverview,
} from './dialogs.js';

// The module's own file system: the project files (the tables are in the
// data folder at its root).
const FS_PROJECTS = '/projects';
// The browser's storage stands for the marker file of the settings folder.
const NOTICE_MARKER = 'tavilo.noticeShown';
const OWN_TABLE = (name) => `tavilo.table.${name}`;

const bytesToBase64 = (bytes) => {
  let text = '';
  for (let i = 0; i < bytes.length; i += 0x8000) text += String.fromCharCode(...bytes.subarray(i, i + 0x8000));
  return btoa(text);
};
const base64ToBytes = (text) => Uint8Array.from(atob(text), (c) => c.charCodeAt(0));

class App {
  constructor(module) {
    this.module = module;
    this.fields = module.fieldCatalogue();
    this.texts = module.programTexts();
    // The data folder served beside the page, with the location tables.
    this.dataFolder = this.texts.dataFolder;
    this.fsData = `/${this.dataFolder}`;
    this.dialogs = 0;
  }

  // The tables served beside the page, or the user's own from the storage.
  async installTables() {
    const { FS } = this.module;
    FS.mkdirTree(this.fsData);
    FS.mkdirTree(FS_PROJECTS);
    FS.chdir(FS_PROJECTS);
    await Promise.all(this.texts.tableFiles.map(async (name) => {
      const own = localStorage.getItem(OWN_TABLE(name));
      if (own !== null) {
        FS.writeFile(`${this.fsData}/${name}`, base64ToBytes(own));
        return;
      }
      const response = await fetch(`${this.dataFolder}/${name}`);
      if (response.ok) FS.writeFile(`${this.fsData}/${name}`, new Uint8Array(await response.arrayBuffer()));
    }));
  }

  async start(root) {
    await this.installTables();
    this.session = new this.module.Session(this.fsData, FS_PROJECTS);
    const failure = this.session.startUp(this.module.programVersion());
    this.inputScreen = new InputScreen(this, root);
    this.resultWindow = new ReportWindow(this, root, 'report');
    this.spanTableWindow = new ReportWindow(this, root, 'spanTable');
    this.settingsWindow = new SettingsWindow(this);
    this.printSettingsWindow = new PrintSettingsWindow(this);
    this.buildResultTools();
    this.inputScreen.refresh();
    this.inputScreen.focusControl(this.session.screen().focus);
    document.body.dataset.ready = 'true';
    // Milliseconds from the start of the page's navigation (bench/web).
    window.taviloTimings = { inputScreenReady: performance.now() };
    window.addEventListener('beforeunload', (event) => {
      if (this.session.hasUnsavedChanges()) event.preventDefault();
    });
    if (localStorage.getItem(NOTICE_MARKER) !== this.texts.noticeStamp) {
      await showNotice(this.texts);
      localStorage.setItem(NOTICE_MARKER, this.texts.noticeStamp);
    }
    if (failure) await this.messageBox(failure);
    // The report fonts arrive while the user types.
    loadReportFonts();
  }

  buildResultTools() {
    const t = this.texts;
    const r = this.resultWindow;
    r.tool(t.printSettingsCommand, () => this.printSettingsWindow.open());
    r.tool(t.printCommand, () => r.print());
    r.tool(t.reportPdfCommand, () => r.savePdf());
    r.tool(t.spanTableCommand, () => this.showSpanTable());
    r.tool(t.closeResultCommand, () => this.closeResult());
    const s = this.spanTableWindow;
    s.tool(t.printCommand, () => s.print());
    s.tool(t.spanTablePdfCommand, () => s.savePdf());
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
      case 'OverviewButton': return showOverview(this.texts, this.dataFolder, (t) => this.messageBox(t));
      case 'FireResistanceButton': return showFireResistance(this.texts);
      case 'SettingsButton': return this.settingsWindow.open();
      case 'LoadButton': return this.chooseProject();
      case 'SaveButton': return this.saveProject();
      case 'CalculateButton': return this.calculate();
      case 'ExitButton': return this.exit();
      case 'TermsLink': return showNotice(this.texts);
      default: return undefined;
    }
  }

  // ---- 計　算
  async calculate() {
    const started = performance.now();
    const busy = this.busy(this.texts.busyCalculating);
    // The panel is painted before the work starts.
    await new Promise((done) => requestAnimationFrame(() => setTimeout(done, 0)));
    let result;
    try {
      await loadReportFonts();
      result = this.session.calculate();
      if (result.calculated) this.resultWindow.draw();
    } finally {
      busy.close();
    }
    await this.inputScreen.carryOut(result.events);
    if (!result.calculated) return;
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

  async chooseProject() {
    if (!(await this.unsavedChangesSettled())) return;
    document.getElementById('project-file').click();
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
    const saved = await this.download(new Blob([bytes], { type: 'application/octet-stream' }), name, this.texts.projectFileType, this.texts.projectExtension);
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
  async useOwnTable(file) {
    const { tableFiles, ownTableChoice, ownTableSeparator } = this.texts;
    const name = tableFiles.find((t) => t.toLowerCase() === file.name.toLowerCase());
    if (!name) {
      await this.messageBox(ownTableChoice.replace('%1', tableFiles.join(ownTableSeparator)));
      return;
    }
    localStorage.setItem(OWN_TABLE(name), bytesToBase64(new Uint8Array(await file.arrayBuffer())));
    if (await this.unsavedChangesSettled()) window.location.reload();
  }

  async useShippedTables() {
    this.texts.tableFiles.forEach((name) => localStorage.removeItem(OWN_TABLE(name)));
    if (await this.unsavedChangesSettled()) window.location.reload();
  }

  ownTablesInUse() {
    return this.texts.tableFiles.filter((name) => localStorage.getItem(OWN_TABLE(name)) !== null);
  }

  // ---- 終　了: the page cannot close its own tab; it ends the program's run.
  async exit() {
    if (!(await this.unsavedChangesSettled())) return;
    this.session.delete();
    document.getElementById('app').replaceChildren();
    document.getElementById('ended').hidden = false;
    window.close();
  }
}

async function main() {
  const module = await createTavilo();
  const app = new App(module);
  window.tavilo = app;
  const root = document.getElementById('app');
  const ready = app.start(root);
  document.getElementById('project-file').addEventListener('change', async (event) => {
    const [file] = event.target.files;
    event.target.value = '';
    if (file) await app.loadProject(file);
  });
  document.getElementById('own-table').addEventListener('change', async (event) => {
    const [file] = event.target.files;
    event.target.value = '';
    if (file) await app.useOwnTable(file);
  });
  document.getElementById('shipped-tables').addEventListener('click', () => app.useShippedTables());
  const own = app.ownTablesInUse();
  document.getElementById('tables-in-use').textContent = own.length
    ? app.texts.ownTablesInUse.replace('%1', own.join(', '))
    : app.texts.shippedTablesInUse;
  await ready;
}

main();
