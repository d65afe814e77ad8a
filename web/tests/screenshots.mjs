// Draws the page's windows into docs/screenshots/ (bash scripts/web
// screenshots): the input screen, the settings dialog and the result view,
// in headless Chromium at the desktop's pixel sizes. Commit the result.

import { join, resolve } from 'node:path';
import { chromium } from 'playwright-core';
import { serve } from '../serve.mjs';
import { CHROMIUM } from './chromium.mjs';

const root = resolve(import.meta.dirname, '../..');
const out = (name) => join(root, 'docs/screenshots', name);
const server = await serve(join(root, 'build/web'), 0);
const browser = await chromium.launch(CHROMIUM);
try {
  const page = await browser.newPage({ viewport: { width: 860, height: 700 } });
  await page.goto(`http://127.0.0.1:${server.address().port}/`);
  await page.waitForSelector('body[data-ready="true"]');
  await page.getByRole('button', { name: '確　認' }).click();
  await page.evaluate(() => document.fonts.ready);
  await page.locator('#input-screen').screenshot({ path: out('web-input-screen.png') });

  await page.getByRole('button', { name: '設　定' }).click();
  await page.locator('#settings-dialog').screenshot({ path: out('web-settings-dialog.png') });
  await page.locator('#settings-dialog').getByRole('button', { name: ' キャンセル' }).click();

  await page.locator('#project-file').setInputFiles(join(root, 'examples/heavy-snow-overhangs.tvl'));
  await page.waitForFunction(() => document.title.includes('heavy-snow'));
  await page.getByRole('button', { name: '計　算' }).click();
  await page.locator('#result-window').waitFor();
  await page.setViewportSize({ width: 860, height: 900 });
  await page.locator('#result-window').screenshot({ path: out('web-result-view.png') });
} finally {
  await browser.close();
  server.close();
}
