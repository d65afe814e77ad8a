// The browser edition's start-up and commands: the WebAssembly module with
// the session, the location tables in its file system, the input screen,
// the result and span table windows and the project files. Nothing entered
// leaves the browser: files are read from and saved to the user's disk.

import createTavilo from '../tavilo.mjs';
import { InputScreen } from './input_screen.js';
import { LiveCheckPanel } from './live_check.js';
import { ReportWindow } from './report_view.js';
import { loadReportFonts } from './painters.js';
import {
  askToSaveChanges, busyPanel, messageBox, PrintSettingsWindow, SettingsWindow, showFireResistance,
  showNotice, showOverview,
} from './dialogs.js';

const VERSION = '5.4';
const DATA_FOLDER = 'Load_data';
const TABLES = ['Data_Address.csv', 'Data_SnowfallV.csv'];
// The module's own file system: the tables and the project files.
const FS_DATA = '/Load_data';
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
    this.dataFolder = DATA_FOLDER;
    this.dialogs = 0;
  }

  // The tables served beside the page, or the user's own from the storage.
  async installTables() {
    const { FS } = this.module;
    FS.mkdirTree(FS_DATA);
    FS.mkdirTree(FS_PROJECTS);
    FS.chdir(FS_PROJECTS);
    await Promise.all(TABLES.map(async (name) => {
      const own = localStorage.getItem(OWN_TABLE(name));
      if (own !== null) {
        FS.writeFile(`${FS_DATA}/${name}`, base64ToBytes(own));
        return;
      }
      const response = await fetch(`${DATA_FOLDER}/${name}`);
      if (response.ok) FS.writeFile(`${FS_DATA}/${name}`, new Uint8Array(await response.arrayBuffer()));
    }));
  }

  async start(root) {
    await this.installTables();
    this.session = new this.module.Session(FS_DATA, FS_PROJECTS);
    const failure = this.session.startUp(VERSION);
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
    // Milliseconds from the start of the page's navigation (bench/web).
    window.taviloTimings = { inputScreenReady: performance.now() };
    window.addEventListener('beforeunload', (event) => {
      if (this.session.hasUnsavedChanges()) event.preventDefault();
    });
    if (localStorage.getItem(NOTICE_MARKER) !== '401') {
      await showNotice(this.texts);
      localStorage.setItem(NOTICE_MARKER, '401');
    }
    if (failure) await this.messageBox(failure);
    // The report fonts arrive while the user types.
    loadReportFonts();
  }

  buildResultTools() {
    const r = this.resultWindow;
    r.tool('印刷の設定', '件名・ページの設定', () => this.printSettingsWindow.open());
    r.tool('印刷', '用紙をA4 縦に設定して下さい', () => r.print());
    r.tool('PDF保存', '計算書をPDFファイルに保存します', () => r.savePdf());
    r.tool('スパン表', 'デッキとスパン数ごとの最長スパン', () => this.showSpanTable());
    r.tool('閉じる', '条件入力へ戻る', () => this.closeResult());
    const s = this.spanTableWindow;
    s.tool('印刷', '用紙をA4 縦に設定して下さい', () => s.print());
    s.tool('PDF保存', 'スパン表をPDFファイルに保存します', () => s.savePdf());
    s.tool('閉じる', '計算結果の表示へ戻る', () => {
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
      await messageBox(this.texts.applicationTitle, text);
    } finally {
      this.dialogs -= 1;
    }
  }

  busy(caption) {
    return busyPanel(caption);
  }

  async command(name) {
    switch (name) {
      case 'OverviewButton': return showOverview(this.texts, DATA_FOLDER, (t) => this.messageBox(t));
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
    let name = this.session.proposedFileName() || 'project.tvl';
    if (!/\.tvl$/i.test(name)) name += '.tvl';
    const failure = this.session.save(name);
    if (failure !== null) {
      await this.messageBox(failure);
      return false;
    }
    const bytes = this.module.FS.readFile(`${FS_PROJECTS}/${name}`);
    const saved = await this.download(new Blob([bytes], { type: 'application/octet-stream' }), name, 'データファイル', '.tvl');
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
    const name = TABLES.find((t) => t.toLowerCase() === file.name.toLowerCase());
    if (!name) {
      await this.messageBox(`所在地データは ${TABLES.join(' または ')} を選択して下さい。`);
      return;
    }
    localStorage.setItem(OWN_TABLE(name), bytesToBase64(new Uint8Array(await file.arrayBuffer())));
    if (await this.unsavedChangesSettled()) window.location.reload();
  }

  async useShippedTables() {
    TABLES.forEach((name) => localStorage.removeItem(OWN_TABLE(name)));
    if (await this.unsavedChangesSettled()) window.location.reload();
  }

  ownTablesInUse() {
    return TABLES.filter((name) => localStorage.getItem(OWN_TABLE(name)) !== null);
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
  document.getElementById('tables-in-use').textContent = own.length ? `使用中: ${own.join(', ')} (ブラウザに保存)` : '使用中: 標準の所在地データ';
  await ready;
}

main();
