// The live check beside the page's input screen, driven as a user would:
// a failing span turns it NG before 計　算, a cleared field shows the input
// check instead of figures, a deck chosen in it becomes the screen's deck,
// and hiding it is remembered.

import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { join, resolve } from 'node:path';
import { chromium } from 'playwright-core';
import { serve } from '../serve.mjs';
import { CHROMIUM } from './chromium.mjs';

const root = resolve(import.meta.dirname, '../..');

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

async function openPage(context) {
  const page = await (context ?? (await browser.newContext({ viewport: { width: 1400, height: 900 } }))).newPage();
  const errors = [];
  page.on('pageerror', (error) => errors.push(error.message));
  await page.goto(url);
  await page.waitForSelector('body[data-ready="true"]');
  const confirm = page.getByRole('button', { name: '確　認' });
  if (await confirm.count()) await confirm.click();
  return { page, errors };
}

const field = (page, name) => page.locator(`[data-field="${name}"]`);
const panel = (page) => page.locator('#live-check');
const caughtUp = (page) => page.waitForFunction(() => !window.tavilo.liveCheck.pending);

test('a failing span turns the panel NG with the failing check before 計　算', async () => {
  const { page, errors } = await openPage();
  await field(page, 'Span1').fill('9000');
  await caughtUp(page);
  assert.equal(await panel(page).getAttribute('data-verdict'), 'ng');
  assert.match(await panel(page).locator('.live-verdict').innerText(), /NGです/);
  const failing = panel(page).locator('.checks tr.exceeded');
  assert.ok((await failing.count()) > 0);
  assert.match(await failing.first().locator('.where').innerText(), /スパン1/);
  assert.equal(await page.locator('#result-window').isVisible(), false, 'nothing was calculated by 計　算');
  assert.deepEqual(errors, []);
  await page.context().close();
});

test('a cleared field shows the input check and no figures', async () => {
  const { page } = await openPage();
  await field(page, 'Span1').fill('');
  await caughtUp(page);
  assert.equal(await panel(page).getAttribute('data-verdict'), 'refused');
  assert.match(await panel(page).locator('.refusal .message').innerText(), /スパン1の長さ/);
  assert.equal(await panel(page).locator('.refusal .field').innerText(), '入力欄: スパン1');
  // The field named is a link to it.
  await field(page, 'Span2').focus();
  await panel(page).locator('.refusal .field').click();
  await page.waitForFunction(() => document.activeElement?.dataset.field === 'Span1');
  assert.equal(await panel(page).locator('.checks').isVisible(), false);
  assert.equal(await panel(page).locator('.live-verdict').isVisible(), false);
  await page.context().close();
});

test("the lightest passing deck chosen in the panel becomes the screen's deck, unsaved", async () => {
  const { page } = await openPage();
  // The shortest span on a 100 mm grid at which the lightest deck fails.
  for (let span = 1000; span < 8000; span += 100) {
    await field(page, 'Span1').fill(String(span));
    await caughtUp(page);
    if ((await panel(page).locator('.decks tr[data-deck="0"] .deck-verdict').innerText()) === 'ＮＧ') break;
  }
  // Saved as it stands, so that the choice alone makes it unsaved.
  assert.equal(await page.evaluate(() => window.tavilo.session.save('live.tvl')), null);
  assert.equal(await page.evaluate(() => window.tavilo.session.hasUnsavedChanges()), false);
  const lightest = panel(page).locator('.decks tr.deck', { hasText: '最軽量' });
  assert.equal(await lightest.count(), 1);
  const deck = Number(await lightest.getAttribute('data-deck'));
  assert.notEqual(deck, 0);
  const weightBefore = await field(page, 'UnitWeight').inputValue();
  await lightest.click();
  await caughtUp(page);
  assert.equal(await field(page, 'DeckType').evaluate((select) => select.selectedIndex), deck);
  assert.notEqual(await field(page, 'UnitWeight').inputValue(), weightBefore);
  assert.equal(await page.evaluate(() => window.tavilo.session.hasUnsavedChanges()), true);
  assert.match(await panel(page).locator(`.decks tr[data-deck="${deck}"]`).innerText(), /現在/);
  assert.equal(await panel(page).getAttribute('data-verdict'), 'ok');

  // Enter on a row chooses it too.
  await panel(page).locator('.decks tr[data-deck="0"]').press('Enter');
  assert.equal(await field(page, 'DeckType').evaluate((select) => select.selectedIndex), 0);
  await page.context().close();
});

test('hiding the panel is remembered by the browser', async () => {
  const context = await browser.newContext({ viewport: { width: 1400, height: 900 } });
  const { page } = await openPage(context);
  await panel(page).locator('button.hide').click();
  assert.equal(await panel(page).isVisible(), false);
  await page.reload();
  await page.waitForSelector('body[data-ready="true"]');
  assert.equal(await panel(page).isVisible(), false);
  await page.locator('button.live-check-show').click();
  assert.equal(await panel(page).isVisible(), true);
  await context.close();
});
