// The page over a screen description with one field changed (the module
// tavilo-changed-field, built from tests/changed_field/changed_field.inc): the
// page shows the new caption and puts the control where the description says.

import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { join, resolve } from 'node:path';
import { chromium } from 'playwright-core';
import { serve } from '../serve.mjs';
import { CHROMIUM } from './chromium.mjs';

const root = resolve(import.meta.dirname, '../..');
const changed = resolve(root, process.env.TAVILO_WASM_BUILD ?? 'build/wasm', 'web/changed-field');

let server;
let browser;

before(async () => {
  server = await serve(join(root, 'build/web'), 0);
  browser = await chromium.launch(CHROMIUM);
});

after(async () => {
  await browser?.close();
  server?.close();
});

test('the page shows the changed caption and rectangle of the one changed field', async () => {
  const context = await browser.newContext({ viewport: { width: 1100, height: 900 } });
  const page = await context.newPage();
  // The served module and its WebAssembly carry a content hash in their names.
  for (const ext of ['mjs', 'wasm']) {
    await page.route(`**/assets/tavilo.*.${ext}`, (route) => route.fulfill({ path: join(changed, `tavilo.${ext}`) }));
  }
  await page.goto(`http://127.0.0.1:${server.address().port}/`);
  await page.waitForSelector('body[data-ready="true"]');
  await page.getByRole('button', { name: '確　認' }).click();

  const placed = await page.locator('[data-field="UnitWeight"]').evaluate((e) => ({
    left: e.style.left,
    top: e.style.top,
    width: e.style.width,
    height: e.style.height,
    inDeckGroup: e.parentElement.querySelector('legend')?.textContent,
  }));
  assert.deepEqual(placed, { left: '80px', top: '72px', width: '76px', height: '24px', inDeckGroup: 'デッキ' });
  const captions = await page.locator('#input-screen .label').allTextContents();
  assert.ok(captions.includes('単位重量Ｘ'), captions.join('|'));
  assert.ok(!captions.includes('単位重量'));
  // The neighbours stand where they stood.
  const neighbour = await page
    .locator('[data-field="SurfaceTreatment"]')
    .evaluate((e) => [e.style.left, e.style.top, e.style.width, e.style.height]);
  assert.deepEqual(neighbour, ['66px', '45px', '58px', '21px']);

  // The settings dialog follows its description as well.
  await page.getByRole('button', { name: '設　定' }).click();
  const dialog = page.locator('#settings-dialog');
  const rectOf = (name) =>
    dialog
      .locator(`[data-field="${name}"]`)
      .evaluate((e) => [e.style.left, e.style.top, e.style.width, e.style.height]);
  assert.deepEqual(await rectOf('SettingsResetButton'), ['150px', '384px', '100px', '28px']);
  assert.deepEqual(await rectOf('SettingsApplyButton'), ['262px', '382px', '96px', '32px']);
  await context.close();
});
