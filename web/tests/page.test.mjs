// The page in Debian's Chromium, headless, driven as a user would: typing
// and pasting through the key filters, spin fields, site choice, the
// settings dialog, loading and saving project files, calculating, reading the
// report's text layer, printing and saving the PDF.

import { after, afterEach, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { chromium } from 'playwright-core';
import { PDFDict, PDFDocument, PDFName } from 'pdf-lib';
import { serve } from '../serve.mjs';
import { CHROMIUM, watchContentPolicy } from './chromium.mjs';

const root = resolve(import.meta.dirname, '../..');
const native = resolve(root, process.env.TAVILO_NATIVE_BUILD ?? 'build/release');
const probe = join(native, 'tests/agreement-probe');
const example = (name) => join(root, 'examples', name);

let server;
let browser;
let url;

before(async () => {
  server = await serve(join(root, 'build/web'), 0);
  url = `http://127.0.0.1:${server.address().port}/`;
  browser = await chromium.launch(CHROMIUM);
});

after(async () => {
  await browser?.close();
  server?.close();
});

// The server sends the strict content policy; the page breaks none of it.
const violations = [];
afterEach(() => assert.deepEqual(violations.splice(0), []));

// A fresh visitor's page with the notice confirmed, and the messages the
// page showed.
async function openPage({ confirmNotice = true } = {}) {
  const context = await browser.newContext({ viewport: { width: 1100, height: 900 }, acceptDownloads: true });
  const page = await context.newPage();
  watchContentPolicy(page, violations);
  const errors = [];
  page.on('pageerror', (error) => errors.push(error.message));
  const requests = [];
  page.on('request', (request) => requests.push(request.url()));
  await page.goto(url);
  await page.waitForSelector('body[data-ready="true"]');
  if (confirmNotice) await page.getByRole('button', { name: '確　認' }).click();
  await page.evaluate(() => {
    window.taviloDownloadsOnly = true;
  });
  return { page, context, errors, requests };
}

const field = (page, name) => page.locator(`[data-field="${name}"]`);

// Accepts the message box and answers its text.
async function acceptMessage(page) {
  const box = page.locator('#message-box');
  await box.waitFor();
  const text = await box.locator('.message').innerText();
  await box.getByRole('button', { name: 'OK' }).click();
  return text;
}

async function reportTexts(page, windowId = 'result-window') {
  return page.locator(`#${windowId} .text-layer span`).allTextContents();
}

test('the notice appears on the first visit only, and the page asks nothing of the network', async () => {
  const { page, context, errors, requests } = await openPage({ confirmNotice: false });
  await assert.doesNotReject(page.locator('#notice').waitFor());
  assert.match(await page.locator('#notice').innerText(), /本ソフトウェアの著作権はMorentaに帰属します。/);
  await page.getByRole('button', { name: '確　認' }).click();
  await page.reload();
  await page.waitForSelector('body[data-ready="true"]');
  assert.equal(await page.locator('#notice').count(), 0);
  assert.equal(await page.title(), 'Tavilo屋根計算プログラム');
  // The shipped tables are samples, and the screen says so under the site.
  assert.equal(
    await page.locator('#site-data-notice').innerText(),
    '所在地データは見本です。実際の設計には使用できません。',
  );
  assert.ok(
    requests.every((r) => r.startsWith(url)),
    "only the page's own files are fetched",
  );
  assert.deepEqual(errors, []);
  await context.close();
});

test('the overview links to the verification document shipped with the page and names the version', async () => {
  const { page, context, errors } = await openPage();
  await page.getByRole('button', { name: '概　要' }).click();
  const link = page.locator('#overview a.verification-link');
  await link.waitFor();
  assert.equal(await link.innerText(), '検証資料を開く (PDF)');
  const [, version] = readFileSync(join(root, 'CMakeLists.txt'), 'utf8').match(/project\(Tavilo VERSION (\d+\.\d+)/);
  assert.equal(await page.locator('#overview .overview-version').innerText(), `バージョン ${version}`);
  assert.equal(await link.getAttribute('target'), '_blank');
  const href = await link.evaluate((a) => a.href);
  assert.equal(href, `${url}docs/verification.pdf`);
  const response = await context.request.get(href);
  assert.equal(response.status(), 200);
  assert.equal((await response.body()).subarray(0, 5).toString(), '%PDF-');
  assert.deepEqual(errors, []);
  await context.close();
});

test('key filters, pasting, spin fields and the span arrangement follow the model', async () => {
  const { page, context, errors } = await openPage();
  await field(page, 'EavesHeightH1').fill('');
  await field(page, 'EavesHeightH1').pressSequentially('12.5');
  assert.equal(await field(page, 'EavesHeightH1').inputValue(), '125');

  // The unit weight takes no typing with Z12, digits only with 他.
  await field(page, 'UnitWeight').pressSequentially('9a');
  assert.equal(await field(page, 'UnitWeight').inputValue(), '127');
  await field(page, 'SurfaceTreatment').selectOption('他');
  await field(page, 'UnitWeight').fill('1x5');
  assert.equal(await field(page, 'UnitWeight').inputValue(), '15');

  // Pasting keeps the characters the filter takes.
  await field(page, 'Span1').focus();
  await page.evaluate(() => navigator.clipboard?.writeText?.('3,0 00')).catch(() => {});
  await field(page, 'Span1').fill('3,0 00');
  assert.equal(await field(page, 'Span1').inputValue(), '3000');

  // ▲ twice: spans 2 and 3 appear with the length of the span before.
  await field(page, 'SpanCount').press('ArrowUp');
  await field(page, 'SpanCount').press('ArrowUp');
  assert.equal(await field(page, 'SpanCount').inputValue(), '3');
  assert.equal(await field(page, 'Span3').inputValue(), '3000');
  assert.ok(await field(page, 'Span3').isVisible());
  await field(page, 'SpanCount').press('ArrowDown');
  assert.equal(await field(page, 'Span3').isVisible(), false);
  await field(page, 'SpanCount').pressSequentially('4');
  assert.equal(await field(page, 'SpanCount').inputValue(), '2');

  // 有り with two spans: the left overhang field and its picture.
  await field(page, 'Overhang').selectOption('有り');
  assert.equal(await page.locator('img[data-picture]').getAttribute('data-picture'), 's2_left');
  assert.ok(await field(page, 'LeftOverhang').isVisible());
  await field(page, 'LeftOverhang').fill('1200');
  await field(page, 'EavesHeightH1').click();
  assert.equal(await acceptMessage(page), '計算可能な『はね出し』部の最大値は、1000 mmです');
  assert.equal(await field(page, 'LeftOverhang').inputValue(), '1000');

  // The spin arrows step by the field's step and stop at its range.
  await field(page, 'FinishingLoad').fill('8990');
  await field(page, 'FinishingLoad').press('ArrowUp');
  await field(page, 'FinishingLoad').press('ArrowUp');
  assert.equal(await field(page, 'FinishingLoad').inputValue(), '9000');
  assert.deepEqual(errors, []);
  await context.close();
});

test('the site and snow groups react as the desktop does, with the hints of the model', async () => {
  const { page, context } = await openPage();
  await field(page, 'Prefecture').hover();
  assert.equal(await page.locator('.status-bar').innerText(), '風荷重、積雪荷重の計算に使用します。');
  assert.equal(await field(page, 'Prefecture').getAttribute('title'), '多雪地域判定に使用');

  await field(page, 'Prefecture').selectOption('東京都');
  assert.equal(await field(page, 'District').evaluate((s) => s.selectedIndex), 0);
  assert.match(await field(page, 'WindSpeedV0').innerText(), /^\d+$/);
  await field(page, 'SnowDepth').fill('99');
  assert.equal(await field(page, 'SnowUnitWeight').inputValue(), '20');
  assert.equal(await field(page, 'HeavySnow').isChecked(), false);
  await field(page, 'SnowDepth').fill('100');
  assert.equal(await field(page, 'SnowUnitWeight').inputValue(), '30');
  assert.equal(await field(page, 'HeavySnow').isChecked(), true);

  // 下記値より算出: the depth follows altitude and sea ratio and ends in 0.
  await field(page, 'SnowModeDerive').click();
  assert.equal(await field(page, 'SnowDepth').isDisabled(), true);
  await field(page, 'Altitude').press('ArrowUp');
  assert.match(await field(page, 'SnowDepth').inputValue(), /0$/);
  assert.match(
    await page
      .locator('.option.chosen')
      .allInnerTexts()
      .then((t) => t.join()),
    /下記値より算出/,
  );

  // 独立上屋 swaps the building-shape group for the roof-shape group.
  await page.getByLabel('独立上屋').click();
  assert.equal(await page.locator('fieldset[data-field="BuildingShape"]').isVisible(), false);
  assert.equal(await page.locator('fieldset[data-field="RoofShape"]').isVisible(), true);
  await context.close();
});

test('the settings dialog switches the layout; ratios keep P equal to G', async () => {
  const { page, context } = await openPage();
  await page.getByRole('button', { name: '設　定' }).click();
  const dialog = page.locator('#settings-dialog');
  await dialog.waitFor();
  const firstG = dialog.locator('[data-field="SettingsRatio1"]');
  await firstG.fill('0.8');
  assert.equal(await dialog.locator('[data-field="SettingsRatio2"]').inputValue(), '0.8');
  await firstG.fill('0.8x');
  assert.equal(await firstG.inputValue(), '0.8');
  await dialog.getByRole('button', { name: ' キャンセル' }).click();
  await page.getByRole('button', { name: '設　定' }).click();
  assert.equal(await firstG.inputValue(), '1');

  await dialog.getByText('風・雪荷重値を直接入力する').click();
  await dialog.getByRole('button', { name: '  設    定' }).click();
  assert.equal(await dialog.isVisible(), false);
  assert.equal(await page.locator('#input-screen .client').evaluate((c) => c.offsetHeight), 406 - 28);
  assert.ok(await field(page, 'WindPositive').isVisible());
  assert.equal(await field(page, 'SnowDepth').isVisible(), false);

  // A ratio that is no number keeps the dialog open on that field.
  await page.getByRole('button', { name: '設　定' }).click();
  await dialog.locator('[data-field="SettingsRatio4"]').fill('1..2');
  await dialog.getByRole('button', { name: '  設    定' }).click();
  assert.ok((await acceptMessage(page)).length > 0);
  assert.ok(await dialog.isVisible());
  await context.close();
});

test('a project loaded through the file chooser calculates to the report, prints and saves', async () => {
  const { page, context, errors } = await openPage();
  const project = example('heavy-snow-overhangs.tvl');
  await page.locator('#project-file').setInputFiles(project);
  await page.waitForFunction(() => document.title.includes('heavy-snow-overhangs.tvl'));
  assert.equal(await page.title(), 'Tavilo for win [heavy-snow-overhangs.tvl]');

  // データ保存 writes what the desktop writes for the same inputs.
  const saving = page.waitForEvent('download');
  await page.getByRole('button', { name: 'データ保存' }).click();
  const saved = await saving;
  assert.equal(saved.suggestedFilename(), 'heavy-snow-overhangs.tvl');
  const folder = mkdtempSync(join(tmpdir(), 'tavilo-web-'));
  execFileSync(probe, ['save', project, join(root, 'Load_data'), join(folder, 'native.tvl')]);
  assert.deepEqual(readFileSync(await saved.path()), readFileSync(join(folder, 'native.tvl')));

  await page.getByRole('button', { name: '計　算' }).click();
  await page.locator('#result-window').waitFor();
  assert.equal(await page.locator('#input-screen').isVisible(), false);
  const texts = await reportTexts(page);
  // The text layer holds every text the screen pass draws, as the native
  // build draws it.
  const nativeTexts = execFileSync(probe, ['report', project, join(root, 'Load_data')], { encoding: 'utf8' })
    .split('\n')
    .filter((line) => line.startsWith('screen '))
    .map((line) => line.split(' ').slice(6).join(' '));
  assert.deepEqual(texts, nativeTexts);
  assert.ok(texts.some((t) => t.includes('多雪区域')) || texts.some((t) => t.includes('多雪地域')));

  // 印刷: every page redrawn at printer resolution on its own A4 sheet.
  await page.evaluate(() => {
    window.printed = null;
    window.print = () => {
      window.printed = [...document.querySelectorAll('#print-sheets canvas')].map((c) => [c.width, c.height]);
    };
  });
  await page.getByRole('button', { name: '印刷', exact: true }).click();
  await page.waitForFunction(() => window.printed !== null);
  const sheets = await page.evaluate(() => window.printed);
  const nativePages = new Set(
    execFileSync(probe, ['report', project, join(root, 'Load_data')], { encoding: 'utf8' })
      .split('\n')
      .filter((line) => line.startsWith('print '))
      .map((line) => line.split(' ')[1]),
  );
  assert.equal(sheets.length, nativePages.size);
  assert.deepEqual(sheets[0], [2480, 3508]);

  // 印刷の設定: the project name titles the document, a position is taken at once.
  await page.getByRole('button', { name: '印刷の設定' }).click();
  const printDialog = page.locator('#print-settings-dialog');
  await printDialog.getByLabel('物件名').fill('試験物件');
  await printDialog.getByText('下-中').click();
  assert.equal(await printDialog.getByLabel('開始番号').isEnabled(), true);
  await printDialog.getByRole('button', { name: '    設　定' }).click();

  // PDF保存: the same pages with their fonts and the document's properties.
  const downloading = page.waitForEvent('download');
  await page.getByRole('button', { name: 'PDF保存' }).click();
  const pdfFile = await downloading;
  const bytes = readFileSync(await pdfFile.path());
  const pdf = await PDFDocument.load(bytes, { updateMetadata: false });
  assert.equal(pdf.getPageCount(), nativePages.size);
  assert.equal(pdf.getTitle(), '試験物件');
  assert.equal(pdf.getAuthor(), 'Tavilo');
  assert.equal(pdf.getSubject(), 'デッキプレート構造計算書');
  const embedded = pdf.context
    .enumerateIndirectObjects()
    .filter(([, object]) => object instanceof PDFDict && object.get(PDFName.of('FontFile2')));
  assert.ok(embedded.length >= 1, 'the fonts are embedded');

  // スパン表 from the result window.
  await page.getByRole('button', { name: 'スパン表' }).click();
  await page.locator('#span-table-window').waitFor();
  assert.ok((await reportTexts(page, 'span-table-window')).some((t) => t.includes('スパン表')));
  await page.locator('#span-table-window').getByRole('button', { name: '閉じる' }).click();
  await page.locator('#result-window').getByRole('button', { name: '閉じる' }).click();
  assert.ok(await page.locator('#input-screen').isVisible());
  assert.deepEqual(errors, []);
  await context.close();
});

test('unsaved inputs are asked about before another project replaces them', async () => {
  const { page, context } = await openPage();
  await field(page, 'Span1').fill('3000');
  await page.getByRole('button', { name: 'データ読込' }).click();
  const question = page.locator('#unsaved-question');
  await question.waitFor();
  assert.match(await question.innerText(), /入力内容が保存されていません。/);
  await question.getByRole('button', { name: 'キャンセル' }).click();
  assert.equal(await field(page, 'Span1').inputValue(), '3000');

  // A refused input stops the calculation with the model's message and focus.
  await field(page, 'Span1').fill('');
  await page.getByRole('button', { name: '計　算' }).click();
  assert.ok((await acceptMessage(page)).length > 0);
  assert.equal(await page.locator('#result-window').isVisible(), false);
  await context.close();
});

test("an office's own location table is kept in the browser and read by the same rules", async () => {
  const { page, context } = await openPage();
  const folder = mkdtempSync(join(tmpdir(), 'tavilo-table-'));
  const table = join(folder, 'Data_Address.csv');
  writeFileSync(table, 'no,table,here\r\n');
  const reloaded = page.waitForEvent('load');
  await page.locator('#own-table').setInputFiles(table);
  await reloaded;
  await page.waitForSelector('body[data-ready="true"]');
  // The model's own message about the table, as the desktop shows it.
  assert.match(await acceptMessage(page), /Data_Address\.csv/);
  assert.match(await page.locator('#tables-in-use').innerText(), /Data_Address\.csv/);

  const back = page.waitForEvent('load');
  await page.locator('#shipped-tables').click();
  await back;
  await page.waitForSelector('body[data-ready="true"]');
  assert.equal(await page.locator('#message-box').count(), 0);
  assert.equal(await field(page, 'District').evaluate((s) => s.options.length > 0), true);
  await context.close();
});
