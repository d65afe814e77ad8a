// Draws the page's windows into docs/screenshots/ (bash scripts/web
// screenshots): the input screen, the settings dialog, the result view and
// the live check beside the input screen,
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

  // The live check beside the input screen: the sample as it stands, then
  // with a span its deck cannot carry.
  const live = await browser.newPage({ viewport: { width: 1400, height: 760 } });
  await live.goto(`http://127.0.0.1:${server.address().port}/`);
  await live.waitForSelector('body[data-ready="true"]');
  await live.getByRole('button', { name: '確　認' }).click();
  await live.evaluate(() => document.fonts.ready);
  await live.locator('#project-file').setInputFiles(join(root, 'examples/heavy-snow-overhangs.tvl'));
  await live.waitForFunction(() => document.title.includes('heavy-snow'));
  const both = async (name) => {
    await live.waitForFunction(() => !window.tavilo.liveCheck.pending);
    const a = await live.locator('#input-screen').boundingBox();
    const b = await live.locator('#live-check').boundingBox();
    const x = Math.min(a.x, b.x);
    const y = Math.min(a.y, b.y);
    await live.screenshot({
      path: out(name),
      clip: {
        x,
        y,
        width: Math.max(a.x + a.width, b.x + b.width) - x,
        height: Math.max(a.y + a.height, b.y + b.height) - y,
      },
    });
  };
  await both('web-live-check.png');
  await live.locator('[data-field="Span1"]').fill('3600');
  await both('web-live-check-ng.png');
} finally {
  await browser.close();
  server.close();
}
