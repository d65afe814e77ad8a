// The page as an office serves it: the server's headers, a page that is
// never blank, fonts that wait for nobody, inputs that are never lost, the
// page at a high zoom, by keyboard and for assistive technology (axe-core),
// and offline after the first visit. Every page runs under the strict
// content policy the server sends, and breaks none of it.

import { after, afterEach, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { chromium } from 'playwright-core';
import { CONTENT_SECURITY_POLICY, TYPES, serve } from '../serve.mjs';
import { CHROMIUM, watchContentPolicy } from './chromium.mjs';

const root = resolve(import.meta.dirname, '../..');
const built = join(root, 'build/web');
const example = (name) => join(root, 'examples', name);
const golden = (name) => join(root, 'tests/golden/projects', name);
const axeSource = readFileSync(join(root, 'web/node_modules/axe-core/axe.min.js'), 'utf8');

let server;
let browser;
let url;
const violations = [];

before(async () => {
  server = await serve(built, 0);
  url = `http://127.0.0.1:${server.address().port}/`;
  browser = await chromium.launch(CHROMIUM);
});

after(async () => {
  await browser?.close();
  server?.close();
});

afterEach(() => assert.deepEqual(violations.splice(0), []));

async function openPage({
  confirmNotice = true,
  viewport = { width: 1100, height: 900 },
  scale = 1,
  route = null,
  serviceWorkers = 'block',
  address = url,
} = {}) {
  const context = await browser.newContext({
    viewport,
    deviceScaleFactor: scale,
    acceptDownloads: true,
    serviceWorkers,
  });
  const page = await context.newPage();
  watchContentPolicy(page, violations);
  const errors = [];
  page.on('pageerror', (error) => errors.push(error.message));
  if (route) await route(page);
  await page.goto(address);
  if (confirmNotice) {
    await page.waitForSelector('body[data-ready="true"]');
    await page.getByRole('button', { name: '確　認' }).click();
    await page.evaluate(() => {
      window.taviloDownloadsOnly = true;
    });
  }
  return { page, context, errors };
}

const field = (page, name) => page.locator(`[data-field="${name}"]`);

async function acceptMessage(page) {
  const box = page.locator('#message-box');
  await box.waitFor();
  const text = await box.locator('.message').innerText();
  await box.getByRole('button', { name: 'OK' }).click();
  return text;
}

async function axeViolations(page) {
  await page.evaluate(axeSource);
  const result = await page.evaluate(() => window.axe.run(document, { resultTypes: ['violations'] }));
  return result.violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(' ')).join(', ')}`);
}

test('the server sends the content policy, validators, compressed and immutable files', async () => {
  const index = await fetch(url);
  assert.equal(index.headers.get('content-security-policy'), CONTENT_SECURITY_POLICY);
  assert.match(
    CONTENT_SECURITY_POLICY,
    /script-src 'self' 'wasm-unsafe-eval'; object-src 'none'; base-uri 'none'; frame-ancestors 'none'/,
  );
  assert.equal(index.headers.get('cache-control'), 'no-cache');
  const again = await fetch(url, { headers: { 'If-None-Match': index.headers.get('etag') } });
  assert.equal(again.status, 304);
  const since = await fetch(url, { headers: { 'If-Modified-Since': index.headers.get('last-modified') } });
  assert.equal(since.status, 304);

  const assets = readFileSync(join(built, 'app/assets.js'), 'utf8');
  for (const name of ['tavilo.wasm', 'ipag.ttf']) {
    const path = assets.match(new RegExp(`"${name.replace('.', '\\.')}": "([^"]+)"`))[1];
    assert.match(path, /^assets\/[\w-]+\.[0-9a-f]{12}\.\w+$/);
    const head = await fetch(url + path, { method: 'HEAD', headers: { 'Accept-Encoding': 'br, gzip' } });
    assert.equal(head.headers.get('content-encoding'), 'br', name);
    assert.equal(head.headers.get('cache-control'), 'public, max-age=31536000, immutable');
    assert.ok(Number(head.headers.get('content-length')) < readFileSync(join(built, path)).length * 0.8);
    const plain = await fetch(url + path, { method: 'HEAD', headers: { 'Accept-Encoding': 'identity' } });
    assert.equal(plain.headers.get('content-encoding'), null);
  }
  // The font licence travels with the fonts.
  assert.match(readFileSync(join(built, 'fonts/IPA_Font_License.txt'), 'utf8'), /IPA Font License/i);
});

test('web.config and .htaccess name every type the page serves and send the same policy', () => {
  const config = readFileSync(join(root, 'web/web.config'), 'utf8');
  const htaccess = readFileSync(join(root, 'web/htaccess'), 'utf8');
  const extensions = new Set(
    execFileSync('find', [built, '-type', 'f'], { encoding: 'utf8' })
      .trim()
      .split('\n')
      .map((f) => f.replace(/\.(br|gz)$/, '').match(/(\.[^./]+)$/)?.[1])
      .filter(Boolean),
  );
  for (const ext of extensions) {
    assert.match(
      config,
      new RegExp(`<mimeMap fileExtension="\\${ext}" mimeType="${TYPES[ext].replace('+', '\\+')}"`),
      ext,
    );
  }
  for (const ext of ['.mjs', '.wasm', '.ttf', '.webmanifest'])
    assert.match(htaccess, new RegExp(`AddType \\S+ .*\\${ext}\\b`), ext);
  assert.ok(config.includes(`value="${CONTENT_SECURITY_POLICY}"`));
  assert.ok(htaccess.includes(`"${CONTENT_SECURITY_POLICY}"`));
  assert.match(config, /<location path="assets">[\s\S]*immutable/);
});

test('a file the server does not send as it should is named on the page, in Japanese', async () => {
  const cases = [
    // A server that maps .mjs to a type that is not JavaScript.
    [
      (page) =>
        page.route(/\.mjs$/, async (r) =>
          r.fulfill({ response: await r.fetch(), headers: { 'content-type': 'text/plain' } }),
        ),
      /assets\/tavilo\.[0-9a-f]+\.mjs.*text\/plain.*\.mjs.*text\/javascript/s,
    ],
    // A script of the page missing from the server.
    [
      (page) => page.route(/app\/input_screen\.js$/, (r) => r.fulfill({ status: 404, body: '' })),
      /app\/input_screen\.js.*HTTP 404/s,
    ],
    [
      (page) => page.route(/\.wasm$/, (r) => r.fulfill({ status: 404, body: '' })),
      /assets\/tavilo\.[0-9a-f]+\.wasm.*HTTP 404/s,
    ],
  ];
  for (const [route, expected] of cases) {
    const { page, context } = await openPage({ confirmNotice: false, route });
    const failure = page.locator('#start-failure');
    await failure.waitFor();
    assert.match(await failure.innerText(), /起動できませんでした/);
    assert.match(await failure.innerText(), expected);
    await context.close();
  }
  // A table the server does not have: the page works and says which.
  const { page, context } = await openPage({
    confirmNotice: false,
    route: (p) => p.route(/Data_Address\.csv$/, (r) => r.fulfill({ status: 404, body: '' })),
  });
  await page.waitForSelector('body[data-ready="true"]');
  await page.getByRole('button', { name: '確　認' }).click();
  assert.match(await acceptMessage(page), /Load_data\/Data_Address\.csv.*HTTP 404/);
  await context.close();
});

test('the fonts wait until the input screen is ready; the verdict does not wait for them', async () => {
  let held;
  const fontsHeld = new Promise((done) => {
    held = done;
  });
  const { page, context } = await openPage({
    route: (p) =>
      p.route(/\.ttf$/, async (r) => {
        await fontsHeld;
        await r.continue();
      }),
  });
  await page.locator('#project-file').setInputFiles(example('ordinary-3span.tvl'));
  await page.waitForFunction(() => document.title.includes('ordinary-3span'));
  await page.getByRole('button', { name: '計　算' }).click();
  const busy = page.locator('#busy-panel');
  await page.waitForFunction(() =>
    /計算書を準備しています/.test(document.getElementById('busy-panel')?.textContent ?? ''),
  );
  assert.match(await busy.innerText(), /ＯＫ|OK|NG/);
  held();
  await page.locator('#result-window').waitFor();
  assert.equal(await busy.count(), 0);
  // Every font was asked for after the input screen was ready.
  const [ready, fonts] = await page.evaluate(() => [
    window.taviloTimings.inputScreenReady,
    performance
      .getEntriesByType('resource')
      .filter((e) => e.name.endsWith('.ttf'))
      .map((e) => e.startTime),
  ]);
  assert.equal(fonts.length, 2);
  assert.ok(
    fonts.every((start) => start >= ready),
    `${fonts} against ${ready}`,
  );
  await context.close();
});

test('inputs are asked about before the chooser replaces them, and survive a reload', async () => {
  const { page, context } = await openPage();
  await field(page, 'Span1').fill('3456');
  // The chooser under the window asks as データ読込 does; cancel keeps all.
  await page.locator('label.file-button', { hasText: 'データ読込用ファイル' }).click();
  const question = page.locator('#unsaved-question');
  await question.waitFor();
  await question.getByRole('button', { name: 'キャンセル' }).click();
  assert.equal(await field(page, 'Span1').inputValue(), '3456');
  // Files handed to the chooser otherwise (dropped) are asked about too.
  await page.locator('#project-file').setInputFiles(example('ordinary-3span.tvl'));
  await question.waitFor();
  await question.getByRole('button', { name: 'キャンセル' }).click();
  assert.equal(await field(page, 'Span1').inputValue(), '3456');

  // A reload offers the draft back.
  await page.waitForTimeout(1700);
  page.on('dialog', (dialog) => dialog.accept());
  await page.reload();
  await page.waitForSelector('body[data-ready="true"]');
  const offer = page.locator('#question');
  await offer.waitFor();
  assert.match(await offer.innerText(), /前回の入力内容/);
  await offer.getByRole('button', { name: '復元する' }).click();
  assert.equal(await field(page, 'Span1').inputValue(), '3456');
  assert.equal(await page.evaluate(() => window.tavilo.session.hasUnsavedChanges()), true);
  await context.close();
});

test("own tables: one question, nothing stored on cancel, a message when too large, the user's file name", async () => {
  const { page, context } = await openPage();
  const folder = mkdtempSync(join(tmpdir(), 'tavilo-office-'));
  const table = join(folder, 'data_snowfallv.csv');
  writeFileSync(table, 'region,a,b,c,R\r\n1,x\r\n');
  await field(page, 'Span1').fill('3456');
  let asked = 0;
  page.on('dialog', (dialog) => {
    asked += 1;
    dialog.accept();
  });
  await page.locator('#own-table').setInputFiles(table);
  const question = page.locator('#unsaved-question');
  await question.waitFor();
  await question.getByRole('button', { name: 'キャンセル' }).click();
  assert.equal(
    await page.evaluate(() => Object.keys(localStorage).filter((k) => k.startsWith('tavilo.table')).length),
    0,
  );
  assert.equal(await field(page, 'Span1').inputValue(), '3456');

  // Too large for the browser's storage: said, and nothing changes.
  await page
    .locator('#own-table')
    .setInputFiles({ name: 'Data_Address.csv', mimeType: 'text/csv', buffer: Buffer.alloc(6 * 1048576, 0x41) });
  await question.waitFor();
  await question.getByRole('button', { name: '保存しない' }).click();
  assert.match(await acceptMessage(page), /Data_Address\.csv.*保存できる大きさを超えています/);
  assert.equal(await page.evaluate(() => localStorage.getItem('tavilo.table.Data_Address.csv')), null);

  // One question, then the page starts again with the table.
  const reloaded = page.waitForEvent('load');
  await page.locator('#own-table').setInputFiles(table);
  await question.waitFor();
  await question.getByRole('button', { name: '保存しない' }).click();
  await reloaded;
  await page.waitForSelector('body[data-ready="true"]');
  assert.equal(asked, 0, 'no second question from the browser');
  const message = await acceptMessage(page);
  assert.match(message, /data_snowfallv\.csv/);
  assert.doesNotMatch(message, /\/Load_data\//);
  assert.equal(await page.locator('#question').count(), 0, 'no draft after discarding');
  await context.close();
});

test('every control can be reached at 200 % zoom; the result tool bar is in view after 計算', async () => {
  for (const zoom of [1.5, 2]) {
    const { page, context } = await openPage({
      viewport: { width: Math.round(1280 / zoom), height: Math.round(720 / zoom) },
      scale: zoom,
    });
    const lefts = await page
      .locator('#input-screen [data-field]')
      .evaluateAll((elements) =>
        elements.filter((e) => e.offsetParent).map((e) => e.getBoundingClientRect().left + window.scrollX),
      );
    assert.ok(Math.min(...lefts) >= 0, `zoom ${zoom}: a control starts left of the page`);
    await page.locator('#project-file').setInputFiles(example('ordinary-3span.tvl'));
    await page.waitForFunction(() => document.title.includes('ordinary-3span'));
    await page.evaluate(() => window.tavilo.session && document.fonts.ready);
    await page.getByRole('button', { name: '計　算' }).click();
    await page.locator('#result-window').waitFor();
    const bar = await page.locator('#result-window .tool-bar').boundingBox();
    assert.ok(bar.y >= 0 && bar.y + bar.height <= 720 / zoom, `zoom ${zoom}: tool bar at ${bar.y}`);
    await context.close();
  }
});

test('full-width digits, keyboard hints, Escape, the tool bar and the print settings grid', async () => {
  const { page, context } = await openPage();
  // An input method left on: "０．８" is taken as 0.8.
  await page.getByRole('button', { name: '設　定' }).click();
  const ratio = page.locator('#settings-dialog [data-field="SettingsRatio1"]');
  await ratio.fill('');
  await ratio.focus();
  await page.keyboard.insertText('０．８');
  assert.equal(await ratio.inputValue(), '0.8');
  await page.locator('#settings-dialog').getByRole('button', { name: ' キャンセル' }).click();
  await field(page, 'Span1').fill('');
  await field(page, 'Span1').focus();
  await page.keyboard.insertText('２５００');
  assert.equal(await field(page, 'Span1').inputValue(), '2500');

  // The long hint by keyboard as by the pointer.
  await field(page, 'Prefecture').focus();
  assert.equal(await page.locator('.status-bar').innerText(), '風荷重、積雪荷重の計算に使用します。');

  // Escape closes 耐火仕様 and 概要.
  for (const [button, id] of [
    ['耐火仕様', '#fire-resistance'],
    ['概　要', '#overview'],
  ]) {
    await page.getByRole('button', { name: button }).click();
    await page.locator(id).waitFor();
    await page.keyboard.press('Escape');
    assert.equal(await page.locator(id).isVisible(), false, id);
  }

  // The result window's tool bar in the desktop's order, with プレビュー.
  await page.locator('#project-file').setInputFiles(example('ordinary-3span.tvl'));
  await page.waitForFunction(() => document.title.includes('ordinary-3span'));
  await page.getByRole('button', { name: '計　算' }).click();
  await page.locator('#result-window').waitFor();
  assert.deepEqual(await page.locator('#result-window .tool-bar button').allInnerTexts(), [
    '印刷',
    '閉じる',
    'プレビュー',
    'PDF保存',
    'スパン表',
    '印刷の設定',
  ]);
  await page.getByRole('button', { name: 'プレビュー' }).click();
  await page.locator('#print-preview canvas').first().waitFor();
  await page.locator('#print-preview').getByRole('button', { name: '閉じる' }).click();

  // The seven page-number positions in three rows, "無し" over the right column.
  await page.getByRole('button', { name: '印刷の設定' }).click();
  const boxes = await page
    .locator('#print-settings-dialog .option')
    .evaluateAll((options) =>
      options.map((o) => [Math.round(o.getBoundingClientRect().left), Math.round(o.getBoundingClientRect().top)]),
    );
  assert.equal(new Set(boxes.map(([, top]) => top)).size, 3);
  assert.equal(boxes[0][0], boxes[3][0]);
  assert.equal(boxes[1][1], boxes[3][1]);
  await context.close();
});

test('bold text is in the saved PDF once', async () => {
  const { page, context } = await openPage();
  await page.locator('#project-file').setInputFiles(example('heavy-snow-overhangs.tvl'));
  await page.waitForFunction(() => document.title.includes('heavy-snow'));
  await page.getByRole('button', { name: '計　算' }).click();
  await page.locator('#result-window').waitFor();
  const bold = await page.locator('#result-window .text-layer span').evaluateAll((spans) =>
    spans
      .filter((s) => s.style.font.startsWith('bold'))
      .map((s) => s.textContent.trim())
      .filter((t) => t.length > 3),
  );
  assert.ok(bold.length > 0, 'the report has bold text');
  const downloading = page.waitForEvent('download');
  await page.getByRole('button', { name: 'PDF保存' }).click();
  const pdf = await (await downloading).path();
  const text = execFileSync('pdftotext', [pdf, '-'], { encoding: 'utf8' });
  // Drawn twice, a bold text reads twice over (or its letters doubled).
  for (const t of new Set(bold)) {
    const lines = text.split('\n').filter((line) => line.includes(t));
    assert.ok(lines.length > 0, `${t} is in the PDF`);
    for (const line of lines) assert.equal(line.split(t).length - 1, 1, line);
  }
  await context.close();
});

test('pictures that cannot be loaded are named in one message', async () => {
  const { page, context } = await openPage({
    route: (p) => p.route(/Load_data\/.*\.bmp$/, (r) => r.abort()),
  });
  await page.locator('#project-file').setInputFiles(golden('canopy-gable-left-overhang.tvl'));
  const text = await acceptMessage(page);
  assert.ok((text.match(/\.bmp/g) ?? []).length >= 2, text);
  await page.waitForTimeout(500);
  assert.equal(await page.locator('#message-box').count(), 0);
  await context.close();
});

test('no accessibility violations on the notice, the input screen, the dialogs and the report', async () => {
  const { page, context } = await openPage({ confirmNotice: false });
  await page.waitForSelector('body[data-ready="true"]');
  await page.locator('#notice').waitFor();
  const found = { notice: await axeViolations(page) };
  await page.getByRole('button', { name: '確　認' }).click();
  found.inputScreen = await axeViolations(page);
  await page.getByRole('button', { name: '設　定' }).click();
  found.settings = await axeViolations(page);
  await page.locator('#settings-dialog').getByRole('button', { name: ' キャンセル' }).click();
  await field(page, 'Span1').fill('3000');
  await page.getByRole('button', { name: 'データ読込' }).click();
  found.question = await axeViolations(page);
  await page.locator('#unsaved-question').getByRole('button', { name: 'キャンセル' }).click();
  await page.getByRole('button', { name: '耐火仕様' }).click();
  found.fireResistance = await axeViolations(page);
  await page.keyboard.press('Escape');
  await page.getByRole('button', { name: '概　要' }).click();
  await page.locator('#overview').waitFor();
  found.overview = await axeViolations(page);
  await page.keyboard.press('Escape');
  await page.getByRole('button', { name: '計　算' }).click();
  await page.locator('#result-window').waitFor();
  found.report = await axeViolations(page);
  await page.getByRole('button', { name: '印刷の設定' }).click();
  found.printSettings = await axeViolations(page);
  await page.locator('#print-settings-dialog').getByRole('button', { name: ' キャンセル' }).click();
  await page.getByRole('button', { name: 'スパン表' }).click();
  await page.locator('#span-table-window').waitFor();
  found.spanTable = await axeViolations(page);
  const left = Object.entries(found).filter(([, list]) => list.length);
  assert.deepEqual(left, []);
  await context.close();
});

test('after the first visit the page does the whole job with the server gone; a new version is said', async () => {
  const own = await serve(built, 0);
  const address = `http://127.0.0.1:${own.address().port}/`;
  const { page, context } = await openPage({ serviceWorkers: 'allow', address });
  await page.waitForFunction(() => navigator.serviceWorker.controller !== null, null, { timeout: 60000 });
  // Installable, with its manifest read without complaint.
  const cdp = await context.newCDPSession(page);
  const manifest = await cdp.send('Page.getAppManifest');
  assert.deepEqual(manifest.errors, []);
  assert.match(manifest.data, /"file_handlers"/);
  // A test browser's context is incognito, where nothing installs; nothing else stands in the way.
  const { installabilityErrors } = await cdp.send('Page.getInstallabilityErrors');
  assert.deepEqual(
    installabilityErrors.filter((e) => e.errorId !== 'in-incognito'),
    [],
  );
  await new Promise((done) => own.close(done));
  own.closeAllConnections?.();

  await page.reload();
  await page.waitForSelector('body[data-ready="true"]');
  await page.evaluate(() => {
    window.taviloDownloadsOnly = true;
  });
  await page.locator('#project-file').setInputFiles(example('ordinary-3span.tvl'));
  await page.waitForFunction(() => document.title.includes('ordinary-3span'));
  await page.getByRole('button', { name: '計　算' }).click();
  await page.locator('#result-window').waitFor();
  const downloading = page.waitForEvent('download');
  await page.getByRole('button', { name: 'PDF保存' }).click();
  assert.ok((await downloading).suggestedFilename().endsWith('.pdf'));

  // Another version seen before: the page says it has been updated.
  await page.evaluate(() => localStorage.setItem('tavilo.build', 'older'));
  await page.reload();
  await page.waitForSelector('body[data-ready="true"]');
  assert.match(await page.locator('#update-note').innerText(), /新しい版/);
  await context.close();
});
