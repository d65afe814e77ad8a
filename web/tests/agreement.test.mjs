// The browser build computes what the native build computes: tavilo-calc
// prints the same bytes with the same exit status, the report pages draw the
// same texts at the same places, and decimals and CP932 convert alike.

import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFile } from 'node:child_process';
import { copyFileSync, mkdtempSync, readdirSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';

const root = resolve(import.meta.dirname, '../..');
const native = resolve(root, process.env.TAVILO_NATIVE_BUILD ?? 'build/release');
const nativeCalc = join(native, 'src/app/tavilo-calc');
const nativeProbe = join(native, 'tests/agreement-probe');
const webCalc = join(root, 'build/web/tavilo-calc.mjs');
const webProbe = join(root, 'build/wasm/web/agreement-probe.mjs');
const dataDir = join(root, 'Load_data');

const projects = ['examples', 'tests/golden/projects'].flatMap((folder) =>
  readdirSync(join(root, folder))
    .filter((name) => name.endsWith('.tvl'))
    .map((name) => join(folder, name)),
);

// stdout, stderr and the exit status of a command, whatever the status.
async function outcome(file, args, input) {
  const options = { cwd: root, maxBuffer: 64 << 20, encoding: 'utf8' };
  const child = execFile(file, args, options);
  if (input !== undefined) child.stdin.end(input);
  const result = { stdout: '', stderr: '', status: 0 };
  child.stdout.on('data', (d) => (result.stdout += d));
  child.stderr.on('data', (d) => (result.stderr += d));
  result.status = await new Promise((done) => child.on('close', done));
  return result;
}

const node = process.execPath;
const both = (args, input) => Promise.all([outcome(nativeCalc, args, input), outcome(node, [webCalc, ...args], input)]);

test('tavilo-calc prints the same for every project', async (t) => {
  assert.ok(projects.length >= 9);
  for (const project of projects) {
    await t.test(project, async () => {
      for (const options of [
        ['--json'],
        [],
        ['--span-table', '--json'],
        ['--every-deck', '--json'],
        ['--every-deck'],
      ]) {
        const [expected, actual] = await both([project, ...options]);
        assert.equal(actual.status, expected.status, options.join(' '));
        assert.equal(actual.stderr, expected.stderr, options.join(' '));
        assert.equal(actual.stdout, expected.stdout, options.join(' '));
      }
    });
  }
});

test('tavilo-calc refuses and answers alike', async () => {
  const cases = [
    ['missing.tvl'],
    ['--no-such-option'],
    [projects[0], '--data-dir', 'no-such-folder'],
    [...projects.slice(0, 3), '--json'],
    [projects[1], '--span-table', '--csv', '--step', '50'],
    [projects[1], '--span-table', '--step', '0'],
  ];
  for (const args of cases) {
    const [expected, actual] = await both(args);
    assert.equal(actual.status, expected.status, args.join(' '));
    assert.equal(actual.stderr, expected.stderr, args.join(' '));
    assert.equal(actual.stdout, expected.stdout, args.join(' '));
  }
});

test('tavilo-calc opens a file whose name is Shift-JIS bytes', async () => {
  // Names as unpacked from a Japanese archive without conversion: 屋根.tvl
  // and 不良.tvl in Shift-JIS, handed over by the shell as bytes.
  const folder = mkdtempSync(join(tmpdir(), 'tavilo-sjis-'));
  try {
    const named = (hex) => Buffer.concat([Buffer.from(folder + '/'), Buffer.from(hex + '2e74766c', 'hex')]);
    copyFileSync(join(root, projects[0]), named('89ae8daa'));
    writeFileSync(named('957397c7'), 'not a project\r\n');
    const shell = (program, glob, ...args) =>
      outcome('/bin/sh', ['-c', `cd "$1" && shift && exec "$@" ${glob}`, 'sh', folder, ...program, ...args]);
    // The first file alone (its name starts with the byte 0x89), then both.
    for (const [glob, status] of [
      [`"$(printf '\\211')"*.tvl`, 0],
      ['*.tvl', 2],
    ]) {
      const expected = await shell([nativeCalc], glob, '--json');
      const actual = await shell([node, webCalc], glob, '--json');
      assert.equal(expected.status, status, expected.stderr);
      assert.equal(actual.status, expected.status, actual.stderr);
      assert.equal(actual.stderr, expected.stderr);
      assert.equal(actual.stdout, expected.stdout);
    }
  } finally {
    rmSync(folder, { recursive: true, force: true });
  }
});

test('the browser build writes no report files but says so', async () => {
  // The page draws, prints and saves the reports; the command line refuses.
  const target = join(root, 'build/web-test-refused.pdf');
  const refused = await outcome(node, [webCalc, projects[0], '--pdf', target]);
  assert.equal(refused.status, 2);
  assert.match(refused.stderr, /--pdf/);
  assert.equal(refused.stdout, '');
  assert.throws(() => readdirSync(target));
});

test('every report page draws the same texts at the same places', async (t) => {
  for (const project of projects) {
    await t.test(project, async () => {
      const args = ['report', project, dataDir];
      const [expected, actual] = await Promise.all([outcome(nativeProbe, args), outcome(node, [webProbe, ...args])]);
      assert.equal(expected.status, 0, expected.stderr);
      assert.equal(actual.stderr, expected.stderr);
      const expectedLines = expected.stdout.split('\n');
      const actualLines = actual.stdout.split('\n');
      assert.ok(
        expectedLines.some((line) => line.startsWith('print 2 ')),
        'several printed pages',
      );
      assert.deepEqual(actualLines, expectedLines);
    });
  }
});

test('decimals and CP932 convert alike', async () => {
  const decimals = [
    '0.35',
    '0.7',
    '1e400',
    '1e-401',
    '.5',
    '-0',
    '12345678901234567890.5e-3',
    '2.2250738585072014e-307',
    '1.7976931348623157e308',
    '0.1e-2',
    '1..2',
    '4.35',
    '9007199254740993',
  ];
  for (let i = 1; i < 400; ++i) decimals.push(`${(i * 7919) % 100000}.${(i * 104729) % 1000}e${(i % 41) - 20}`);
  const input = decimals.join('\n') + '\n';
  const [expected, actual] = await Promise.all([
    outcome(nativeProbe, ['decimals'], input),
    outcome(node, [webProbe, 'decimals'], input),
  ]);
  assert.equal(actual.stdout, expected.stdout);

  const [nativeCp932, webCp932] = await Promise.all([
    outcome(nativeProbe, ['cp932']),
    outcome(node, [webProbe, 'cp932']),
  ]);
  assert.equal(nativeCp932.stdout.split('\n').length, 529);
  assert.deepEqual(webCp932.stdout.split('\n'), nativeCp932.stdout.split('\n'));
});
