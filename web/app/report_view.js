// The result window and the span table window of the page: the screen pass
// of the report on a canvas with its text layer, and the print pass on
// printer pages (印刷) or into a PDF (PDF保存).

import { ASSETS, assetUrl, importAsset } from './assets.js';
import {
  CanvasPainter,
  PdfPainter,
  loadReportFonts,
  reportFontBytes,
  reportFontsLoaded as reportFontsReady,
} from './painters.js';
import { filledIn } from './dialogs.js';

// Printing redraws every page at this resolution, not a scaled screen image.
const PRINT_PPI = 300;
// The preview shows the printed pages at this resolution.
const PREVIEW_PPI = 96;
const A4_MM = [210, 297];

// A library that could not be fetched, named for the user.
class LibraryMissing extends Error {}

let pdfLibrary = null;
async function pdfLib() {
  if (!pdfLibrary) {
    // The font library's module build needs a bundler; its script build
    // carries everything and leaves itself on the window.
    const fontkitLoaded = new Promise((done, fail) => {
      const script = document.createElement('script');
      script.src = assetUrl('fontkit.js');
      script.onload = () => done(window.fontkit);
      script.onerror = () => fail(new LibraryMissing(ASSETS['fontkit.js']));
      document.head.appendChild(script);
    });
    const library = importAsset('pdf-lib.js').catch(() => {
      throw new LibraryMissing(ASSETS['pdf-lib.js']);
    });
    const [lib, fontkit] = await Promise.all([library, fontkitLoaded]);
    pdfLibrary = { lib, fontkit };
  }
  return pdfLibrary;
}

// The printable area of an A4 sheet at `ppi`: the sheet less the margin of
// common printers on every side, in device pixels.
export function printableArea(ppi, marginMm) {
  const sheet = A4_MM.map((mm) => Math.round((mm / 25.4) * ppi));
  const margin = Math.floor((marginMm * ppi) / 25.4);
  return { margin, width: sheet[0] - 2 * margin, height: sheet[1] - 2 * margin, sheet };
}

// Today in the user's short date format, for the printed footer.
export function shortDate(now = new Date()) {
  return new Intl.DateTimeFormat(undefined, { year: 'numeric', month: '2-digit', day: '2-digit' }).format(now);
}

// Lays a transparent copy of every drawn text over the canvas, at its place
// and width, so that the page's text can be found, selected and read aloud.
function textLayer(layer, texts) {
  const fragment = document.createDocumentFragment();
  const measure = document.createElement('canvas').getContext('2d');
  for (const t of texts) {
    const span = document.createElement('span');
    span.textContent = t.text;
    span.style.left = `${t.x}px`;
    span.style.top = `${t.y}px`;
    span.style.font = t.font;
    span.style.lineHeight = `${t.size}px`;
    measure.font = t.font;
    const natural = measure.measureText(t.text).width;
    if (natural > 0 && t.endX > t.x) span.style.transform = `scaleX(${(t.endX - t.x) / natural})`;
    fragment.appendChild(span);
  }
  layer.replaceChildren(fragment);
}

export class ReportWindow {
  // `kind` is 'report' or 'spanTable'.
  constructor(app, root, kind) {
    this.app = app;
    this.kind = kind;
    this.spanTable = kind === 'spanTable';
    const w = document.createElement('div');
    w.className = 'window report-window';
    w.id = this.spanTable ? 'span-table-window' : 'result-window';
    w.hidden = true;
    w.innerHTML = `
      <h2 class="title-bar"></h2>
      <div class="tool-bar" role="toolbar"></div>
      <div class="scroll-box" tabindex="0" role="document">
        <div class="sheet"><canvas class="screen-image"></canvas><div class="text-layer"></div></div>
      </div>`;
    root.appendChild(w);
    this.window = w;
    this.title = w.querySelector('.title-bar');
    this.toolBar = w.querySelector('.tool-bar');
    this.scrollBox = w.querySelector('.scroll-box');
    this.canvas = w.querySelector('canvas');
    this.layer = w.querySelector('.text-layer');
    this.title.textContent = this.spanTable ? app.texts.spanTableCaption : app.texts.resultCaption;
    this.scrollBox.setAttribute('aria-label', this.title.textContent);
    this.toolBar.setAttribute('aria-label', this.title.textContent);
  }

  // The empty stretch of the tool bar between its two ends.
  spacer() {
    const s = document.createElement('span');
    s.className = 'spacer';
    this.toolBar.appendChild(s);
  }

  // A command of the tool bar: { caption, hint } of the program's texts.
  tool({ caption, hint }, action) {
    const b = document.createElement('button');
    b.type = 'button';
    b.textContent = caption;
    b.title = hint;
    b.addEventListener('click', action);
    this.toolBar.appendChild(b);
    return b;
  }

  // Draws the screen pass of the session's last report (or span table).
  draw() {
    const session = this.app.session;
    const width = this.app.texts.screenImageWidth;
    const height = session.screenHeight(this.spanTable);
    const scale = window.devicePixelRatio || 1;
    this.canvas.width = Math.ceil(width * scale);
    this.canvas.height = Math.ceil(height * scale);
    this.canvas.style.width = `${width}px`;
    this.canvas.style.height = `${height}px`;
    const sheet = this.canvas.parentElement;
    sheet.style.width = `${width}px`;
    sheet.style.height = `${height}px`;
    const painter = new CanvasPainter(this.canvas, { scale });
    session.drawScreen(painter, height, this.spanTable);
    textLayer(this.layer, painter.texts);
    this.scrollBox.scrollTop = 0;
  }

  show() {
    this.window.hidden = false;
    // The tool bar in view, whatever the zoom.
    this.window.scrollIntoView({ block: 'start' });
    this.scrollBox.focus({ preventScroll: true });
  }

  hide() {
    this.window.hidden = true;
  }

  // The print pass onto pages of A4 at the printer resolution, one canvas a page.
  printPages(ppi) {
    const area = printableArea(ppi, this.app.texts.pdfMarginMm);
    const page = () => {
      const canvas = document.createElement('canvas');
      canvas.width = area.sheet[0];
      canvas.height = area.sheet[1];
      const ctx = canvas.getContext('2d');
      ctx.fillStyle = '#fff';
      ctx.fillRect(0, 0, canvas.width, canvas.height);
      return canvas;
    };
    // The report is drawn in the printable area; the painter works in its coordinates.
    const painter = new CanvasPainter(page(), { nextPage: () => page() });
    const origin = (p) => p.ctx.translate(area.margin, area.margin);
    origin(painter);
    const begin = painter.begin.bind(painter);
    painter.begin = (canvas) => {
      begin(canvas);
      origin(painter);
    };
    this.app.session.drawPrint(painter, ppi, area.width, area.height, shortDate(), this.spanTable);
    return painter.pages;
  }

  // 印刷: every page on its own A4 sheet through the browser's print dialog.
  async print() {
    await loadReportFonts();
    const busy = this.app.busy(this.app.texts.busyPrinting);
    let pages;
    try {
      pages = this.printPages(PRINT_PPI);
    } finally {
      busy.close();
    }
    // The pages themselves go on the sheets: no image address a strict
    // content policy would refuse.
    pages.forEach((canvas) => canvas.classList.add('print-sheet'));
    const sheets = document.getElementById('print-sheets');
    sheets.replaceChildren(...pages);
    window.print();
    sheets.replaceChildren();
  }

  // プレビュー: the printed pages on the screen, one below the other.
  async preview() {
    await loadReportFonts();
    const pages = this.printPages(PREVIEW_PPI);
    const dialog = document.createElement('dialog');
    dialog.className = 'modal preview';
    dialog.id = 'print-preview';
    const bar = document.createElement('div');
    bar.className = 'title-bar';
    bar.id = 'print-preview-title';
    bar.textContent = this.app.texts.previewCaption;
    dialog.setAttribute('aria-labelledby', bar.id);
    const close = document.createElement('button');
    close.type = 'button';
    close.textContent = this.app.texts.previewClose;
    close.addEventListener('click', () => dialog.close());
    bar.appendChild(close);
    const body = document.createElement('div');
    body.className = 'preview-pages';
    body.tabIndex = 0;
    body.setAttribute('role', 'document');
    body.setAttribute('aria-label', this.app.texts.previewCaption);
    pages.forEach((canvas) => canvas.classList.add('preview-page'));
    body.append(...pages);
    dialog.append(bar, body);
    dialog.addEventListener('close', () => dialog.remove());
    document.body.appendChild(dialog);
    dialog.showModal();
    close.focus();
  }

  // The print pass as a PDF document with its fonts embedded.
  async pdfBytes() {
    const [{ lib, fontkit }, fonts] = await Promise.all([pdfLib(), reportFontBytes()]);
    const pdf = await lib.PDFDocument.create();
    pdf.registerFontkit(fontkit);
    const [proportional, fixed] = await Promise.all(
      [fonts.IPAPGothic, fonts.IPAGothic].map((bytes) => pdf.embedFont(bytes, { subset: true })),
    );
    const ppi = this.app.texts.pdfResolution;
    const area = printableArea(ppi, this.app.texts.pdfMarginMm);
    const painter = new PdfPainter(
      pdf,
      { IPAPGothic: proportional, IPAGothic: fixed },
      { ppi, marginPx: area.margin, rgb: lib.rgb, lib },
    );
    this.app.session.drawPrint(painter, ppi, area.width, area.height, shortDate(), this.spanTable);
    const fileName = this.pdfFileName();
    pdf.setTitle(this.app.session.documentTitle(fileName, this.spanTable));
    pdf.setAuthor(this.app.texts.pdfAuthor);
    pdf.setSubject(this.app.texts.pdfSubject);
    pdf.setCreator('Tavilo');
    pdf.setProducer('pdf-lib');
    pdf.setCreationDate(new Date());
    return pdf.save();
  }

  pdfFileName() {
    const current = this.app.session.currentFile().split('/').pop();
    const { reportPdfStem, spanTableName } = this.app.texts;
    const stem = current ? current.replace(/\.[^.]*$/, '') : reportPdfStem;
    return this.spanTable ? `${stem}_${spanTableName}.pdf` : `${stem}.pdf`;
  }

  async savePdf() {
    const busy = this.app.busy(this.app.texts.busyPrinting);
    let bytes;
    try {
      bytes = await this.pdfBytes();
    } catch (error) {
      busy.close();
      if (error instanceof LibraryMissing)
        await this.app.messageBox(filledIn(this.app.texts.pdfLibraryFailed, error.message));
      else if (!reportFontsReady()) await this.app.messageBox(this.app.texts.reportFontsFailed);
      else throw error;
      return;
    }
    busy.close();
    await this.app.download(
      new Blob([bytes], { type: 'application/pdf' }),
      this.pdfFileName(),
      this.app.texts.pdfFileType,
      '.pdf',
    );
  }
}
