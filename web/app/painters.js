// The painters behind the report surface of the WebAssembly module
// (src/report/browser/browser_surface.h): one draws on a Canvas 2D context
// and keeps every text for the page's text layer, one draws into the pages
// of a PDF document. Both measure text with the fonts they draw with.

import { ASSETS, assetUrl } from './assets.js';

// The report faces and the IPA faces that share their glyph widths.
const FAMILIES = { 'ＭＳ Ｐゴシック': 'IPAPGothic', 'ＭＳ ゴシック': 'IPAGothic' };
export const familyOf = (face) => FAMILIES[face] ?? 'IPAPGothic';

// The IPA fonts are large: they are fetched once the input screen is ready,
// never before, and the same bytes serve the screen and the PDF.
const FONT_FILES = { IPAPGothic: 'ipagp.ttf', IPAGothic: 'ipag.ttf' };
let fontBytes = null;
let fontsLoaded = false;

// Answers {IPAPGothic: Uint8Array, IPAGothic: Uint8Array} once both faces
// can draw; a failed fetch may be tried again.
export function reportFontBytes() {
  fontBytes ??= Promise.all(
    Object.entries(FONT_FILES).map(async ([family, asset]) => {
      const response = await fetch(assetUrl(asset));
      if (!response.ok) throw new Error(`${ASSETS[asset]}: HTTP ${response.status}`);
      const bytes = new Uint8Array(await response.arrayBuffer());
      const face = new FontFace(family, bytes.slice().buffer);
      await face.load();
      document.fonts.add(face);
      return [family, bytes];
    }),
  ).then(
    (faces) => {
      fontsLoaded = true;
      return Object.fromEntries(faces);
    },
    (error) => {
      fontBytes = null;
      throw error;
    },
  );
  return fontBytes;
}

export async function loadReportFonts() {
  await reportFontBytes();
}

export const reportFontsLoaded = () => fontsLoaded;

const colour = (r, g, b) => `rgb(${r}, ${g}, ${b})`;

// Dash patterns in units of the pen width: dotted and dash-dot.
const DASHES = [[], [1, 2], [4, 2, 1, 2]];

export class CanvasPainter {
  // `pages` begins with the canvas of the first page; newPage asks
  // `nextPage` for the next one (none on the screen).
  constructor(canvas, { scale = 1, nextPage = null } = {}) {
    this.scale = scale;
    this.nextPage = nextPage;
    this.pages = [];
    this.texts = []; // {page, x, y, endX, text, font, size, colour}
    this.fontSpec = { family: 'IPAPGothic', size: 9, bold: false, colour: 'rgb(0, 0, 0)' };
    this.metrics = new Map();
    this.begin(canvas);
  }

  begin(canvas) {
    this.canvas = canvas;
    this.ctx = canvas.getContext('2d');
    this.ctx.setTransform(this.scale, 0, 0, this.scale, 0, 0);
    this.ctx.textBaseline = 'alphabetic';
    this.pages.push(canvas);
    this.applyFont();
    this.applyPen();
  }

  cssFont() {
    const f = this.fontSpec;
    return `${f.bold ? 'bold ' : ''}${f.size}px "${f.family}"`;
  }

  applyFont() {
    this.ctx.font = this.cssFont();
    this.ctx.fillStyle = this.fontSpec.colour;
  }

  applyPen() {
    const p = this.penSpec ?? { colour: 'rgb(0, 0, 0)', width: 0, style: 0 };
    const width = Math.max(1, p.width);
    this.ctx.strokeStyle = p.colour;
    this.ctx.lineWidth = width;
    this.ctx.setLineDash(DASHES[p.style].map((d) => d * width));
    this.ctx.lineCap = p.style === 0 ? 'round' : 'butt';
    this.ctx.lineJoin = 'round';
    // Odd widths on the pixel centres, as the desktop's painter draws them.
    this.offset = width % 2 === 1 ? 0.5 : 0;
  }

  font(face, pixelSize, bold, r, g, b) {
    this.fontSpec = { family: familyOf(face), size: pixelSize, bold, colour: colour(r, g, b) };
    this.applyFont();
  }

  fontMetrics() {
    const key = this.cssFont();
    let m = this.metrics.get(key);
    if (!m) {
      const sample = this.ctx.measureText('Mg漢');
      m = {
        ascent: Math.round(sample.fontBoundingBoxAscent),
        descent: Math.round(sample.fontBoundingBoxDescent),
      };
      this.metrics.set(key, m);
    }
    return m;
  }

  measure(text) {
    return Math.round(this.ctx.measureText(text).width);
  }

  lineHeight() {
    const m = this.fontMetrics();
    return m.ascent + m.descent;
  }

  text(x, y, text, endX) {
    this.ctx.fillText(text, x, y + this.fontMetrics().ascent);
    this.texts.push({
      page: this.pages.length,
      x,
      y,
      endX,
      text,
      font: this.cssFont(),
      size: this.fontSpec.size,
      ascent: this.fontMetrics().ascent,
    });
  }

  pen(r, g, b, width, style) {
    this.penSpec = { colour: colour(r, g, b), width, style };
    this.applyPen();
  }

  polyline(points) {
    const o = this.offset;
    this.ctx.beginPath();
    this.ctx.moveTo(points[0] + o, points[1] + o);
    for (let i = 2; i < points.length; i += 2) this.ctx.lineTo(points[i] + o, points[i + 1] + o);
    this.ctx.stroke();
  }

  rect(left, top, right, bottom) {
    const o = this.offset;
    this.ctx.strokeRect(left + o, top + o, right - left, bottom - top);
  }

  fill(left, top, right, bottom, r, g, b) {
    this.ctx.fillStyle = colour(r, g, b);
    this.ctx.fillRect(left, top, right - left, bottom - top);
    this.ctx.fillStyle = this.fontSpec.colour;
  }

  newPage() {
    if (!this.nextPage) return false;
    const canvas = this.nextPage(this.pages.length + 1);
    if (!canvas) return false;
    this.begin(canvas);
    return true;
  }
}

// A4 portrait in points.
export const A4_POINTS = [595.28, 841.89];

// Draws into a pdf-lib document: device pixels at `ppi` within the printable
// area, `marginPx` from the sheet's edges.
export class PdfPainter {
  constructor(pdf, fonts, { ppi, marginPx, rgb, lib }) {
    this.pdf = pdf;
    this.lib = lib;
    this.fonts = fonts; // {IPAPGothic: PDFFont, IPAGothic: PDFFont}
    this.ppi = ppi;
    this.marginPx = marginPx;
    this.rgb = rgb;
    this.fontSpec = { family: 'IPAPGothic', size: 10, bold: false, colour: rgb(0, 0, 0) };
    this.penSpec = { colour: rgb(0, 0, 0), width: 0, style: 0 };
    this.pageCount = 0;
    this.newPage();
  }

  pt(px) {
    return (px * 72) / this.ppi;
  }
  x(px) {
    return this.pt(this.marginPx + px);
  }
  y(px) {
    return A4_POINTS[1] - this.pt(this.marginPx + px);
  }

  newPage() {
    this.page = this.pdf.addPage(A4_POINTS);
    this.pageCount += 1;
    return true;
  }

  font(face, pixelSize, bold, r, g, b) {
    this.fontSpec = { family: familyOf(face), size: pixelSize, bold, colour: this.rgb(r / 255, g / 255, b / 255) };
  }

  pdfFont() {
    return this.fonts[this.fontSpec.family];
  }

  ascentPx() {
    const font = this.pdfFont().embedder.font;
    return Math.round((font.ascent / font.unitsPerEm) * this.fontSpec.size);
  }

  measure(text) {
    const widthPt = this.pdfFont().widthOfTextAtSize(text, this.pt(this.fontSpec.size));
    return Math.round((widthPt * this.ppi) / 72);
  }

  lineHeight() {
    const font = this.pdfFont().embedder.font;
    const size = this.fontSpec.size;
    return Math.round((font.ascent / font.unitsPerEm) * size) + Math.round((-font.descent / font.unitsPerEm) * size);
  }

  text(x, y, text) {
    if (text.length === 0) return;
    const options = {
      x: this.x(x),
      y: this.y(y + this.ascentPx()),
      size: this.pt(this.fontSpec.size),
      font: this.pdfFont(),
      color: this.fontSpec.colour,
    };
    if (!this.fontSpec.bold) {
      this.page.drawText(text, options);
      return;
    }
    // The IPA faces have no bold cut: the glyphs are filled and stroked
    // (rendering mode 2), so the text is in the document once.
    this.page.pushOperators(
      this.lib.pushGraphicsState(),
      this.lib.setTextRenderingMode(this.lib.TextRenderingMode.FillAndOutline),
      this.lib.setLineWidth(options.size * 0.04),
      this.lib.setStrokingColor(options.color),
    );
    this.page.drawText(text, options);
    this.page.pushOperators(this.lib.popGraphicsState());
  }

  pen(r, g, b, width, style) {
    this.penSpec = { colour: this.rgb(r / 255, g / 255, b / 255), width, style };
  }

  lineOptions() {
    const thickness = this.pt(Math.max(1, this.penSpec.width));
    const dash = DASHES[this.penSpec.style].map((d) => d * thickness);
    return {
      thickness,
      color: this.penSpec.colour,
      dashArray: dash.length ? dash : undefined,
      lineCap: this.penSpec.style === 0 ? 1 : 0,
    };
  }

  polyline(points) {
    const options = this.lineOptions();
    for (let i = 2; i < points.length; i += 2) {
      this.page.drawLine({
        start: { x: this.x(points[i - 2]), y: this.y(points[i - 1]) },
        end: { x: this.x(points[i]), y: this.y(points[i + 1]) },
        ...options,
      });
    }
  }

  rect(left, top, right, bottom) {
    const o = this.lineOptions();
    this.page.drawRectangle({
      x: this.x(left),
      y: this.y(bottom),
      width: this.pt(right - left),
      height: this.pt(bottom - top),
      borderColor: o.color,
      borderWidth: o.thickness,
      borderDashArray: o.dashArray,
    });
  }

  fill(left, top, right, bottom, r, g, b) {
    this.page.drawRectangle({
      x: this.x(left),
      y: this.y(bottom),
      width: this.pt(right - left),
      height: this.pt(bottom - top),
      color: this.rgb(r / 255, g / 255, b / 255),
    });
  }
}
