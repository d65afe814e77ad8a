// The browser edition's benchmarks, run by hand (bash scripts/web bench)
// after scripts/web build and the native build/release:
//   - one calculate command of the heavy-snow sample, WebAssembly under
//     Node.js against native, in the same run (target: at most 2 x native);
//   - opening the page from a local server to the input screen ready
//     (target: under 1 s);
//   - 計　算 to the first report page shown (target: under 200 ms);
//   - an input change to the live check updated for every deck (target:
//     at most 16 ms), and 20 characters a second typed without one lost;
//   - the size of tavilo.wasm (target: under 4 MB).
// Medians; the numbers go to stdout as a small table.

import { execFileSync } from 'node:child_process';
import { statSync } from 'node:fs';
import { join, resolve } from 'node:path';
import { chromium } from '../../web/node_modules/playwright-core/index.mjs';
import { serve } from '../../web/serve.mjs';
import { CHROMIUM } from '../../web/tests/chromium.mjs';

const root = resolve(import.meta.dirname, '../..');
const native = resolve(root, process.env.TAVILO_NATIVE_BUILD ?? 'build/release');
const project = join(root, 'examples/heavy-snow-overhangs.tvl');
const data = join(root, 'Load_data');
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

function calculationTimes(rounds = 5) {
  const nativeTimes = [];
  const wasmTimes = [];
  for (let i = 0; i < rounds; ++i) {
    const args = ['time', project, data, '400'];
    nativeTimes.push(Number(execFileSync(join(native, 'tests/agreement-probe'), args, { encoding: 'utf8' })));
    wasmTimes.push(Number(execFileSync(process.execPath, [join(root, 'build/wasm/web/agreement-probe.mjs'), ...args], { encoding: 'utf8' })));
  }
  return { native: median(nativeTimes), wasm: median(wasmTimes) };
}

async function pageTimes(rounds = 7) {
  const server = await serve(join(root, 'build/web'), 0);
  const url = `http://127.0.0.1:${server.address().port}/`;
  const browser = await chromium.launch(CHROMIUM);
  const ready = [];
  const report = [];
  const live = [];
  let keptEveryKey = true;
  try {
    for (let i = 0; i < rounds; ++i) {
      const context = await browser.newContext();
      const page = await context.newPage();
      await page.goto(url);
      await page.waitForSelector('body[data-ready="true"]');
      ready.push(await page.evaluate(() => window.taviloTimings.inputScreenReady));
      await page.getByRole('button', { name: '確　認' }).click();
      await page.locator('#project-file').setInputFiles(project);
      await page.waitForFunction(() => document.title.includes('heavy-snow'));
      // The report fonts are loaded by then, as a user's first calculation finds them.
      await page.evaluate(() => document.fonts.ready);
      live.push(await page.evaluate(async () => {
        const panel = window.tavilo.liveCheck;
        const span = document.querySelector('[data-field="Span1"]');
        const times = [];
        for (let n = 0; n < 21; ++n) {
          const before = panel.updates;
          const started = performance.now();
          span.value = n % 2 ? '2100' : '2000';
          span.dispatchEvent(new Event('input'));
          while (panel.updates === before) await new Promise((done) => setTimeout(done, 0));
          times.push(panel.updatedAt - started);
        }
        return times.sort((a, b) => a - b)[10];
      }));
      // 20 keys a second (a digit, then backspace, ten times): every key
      // reaches the field, and the panel ends on the last text.
      const field = page.locator('[data-field="Span1"]');
      await field.fill('25');
      for (let n = 0; n < 10; ++n) {
        await field.press(String(n), { delay: 0 });
        await page.waitForTimeout(50);
        await field.press('Backspace');
        await page.waitForTimeout(50);
      }
      await page.waitForFunction(() => !window.tavilo.liveCheck.pending);
      if ((await field.inputValue()) !== '25') keptEveryKey = false;
      await page.getByRole('button', { name: '計　算' }).click();
      await page.locator('#result-window').waitFor();
      report.push(await page.evaluate(() => window.taviloTimings.calculateToReport));
      await context.close();
    }
  } finally {
    await browser.close();
    server.close();
  }
  return { ready: median(ready), report: median(report), live: median(live), keptEveryKey };
}

const calc = calculationTimes();
const page = await pageTimes();
const wasmBytes = statSync(join(root, 'build/web/tavilo.wasm')).size;
const rows = [
  ['calculation, native (µs)', calc.native.toFixed(1), ''],
  ['calculation, WebAssembly in Node.js (µs)', calc.wasm.toFixed(1), `${(calc.wasm / calc.native).toFixed(2)} x native (target ≤ 2)`],
  ['page opened to input screen ready (ms)', page.ready.toFixed(0), 'target < 1000'],
  ['計　算 to the first report page (ms)', page.report.toFixed(0), 'target < 200'],
  ['input change to live check, 4 decks (ms)', page.live.toFixed(2), 'target ≤ 16'],
  ['keys typed at 20/s all kept', page.keptEveryKey ? 'yes' : 'NO', ''],
  ['tavilo.wasm (bytes)', String(wasmBytes), `${(wasmBytes / 1048576).toFixed(2)} MiB (target < 4 MB)`],
];
for (const [what, value, note] of rows) console.log(`${what.padEnd(44)} ${value.padStart(9)}  ${note}`);
