// Lays out the served page (build/web) from the page's sources, the
// WebAssembly build and the npm packages:
//   node web/build.mjs WASM_OUT OUT
// The large files that change only with a release (the module, the IPA
// fonts, the PDF and Markdown libraries) go to assets/ under a name that
// carries a hash of their content, so a server may mark them immutable;
// app/assets.js names them for the page. Every text file and the large
// files get a brotli (.br) and gzip (.gz) copy beside them for servers that
// send precompressed files (the fonts are sent as they are, only the
// transfer is compressed: the IPA font licence does not allow changing
// them). The service worker learns every file of this version.

import { createHash } from 'node:crypto';
import {
  copyFileSync,
  cpSync,
  existsSync,
  mkdirSync,
  readdirSync,
  readFileSync,
  rmSync,
  statSync,
  writeFileSync,
} from 'node:fs';
import { basename, extname, join, relative, resolve } from 'node:path';
import { brotliCompressSync, constants, gzipSync } from 'node:zlib';

const root = resolve(import.meta.dirname, '..');
const [wasmOut = join(root, 'build/wasm/web'), out = join(root, 'build/web')] = process.argv.slice(2);
const fontFolder = '/usr/share/fonts/opentype/ipafont-gothic';
const fontLicence = '/usr/share/doc/fonts-ipafont-gothic/copyright';
const modules = join(root, 'web/node_modules');
const cache = join(root, 'build/web-compressed');

// Logical name -> source file of the content-hashed assets.
const ASSET_SOURCES = {
  'tavilo.mjs': join(wasmOut, 'tavilo.mjs'),
  'tavilo.wasm': join(wasmOut, 'tavilo.wasm'),
  'ipagp.ttf': join(fontFolder, 'ipagp.ttf'),
  'ipag.ttf': join(fontFolder, 'ipag.ttf'),
  'pdf-lib.js': join(modules, 'pdf-lib/dist/pdf-lib.esm.min.js'),
  'fontkit.js': join(modules, '@pdf-lib/fontkit/dist/fontkit.umd.min.js'),
  'marked.js': join(modules, 'marked/lib/marked.esm.js'),
};
const COMPRESSED = new Set([
  '.html',
  '.js',
  '.mjs',
  '.css',
  '.wasm',
  '.ttf',
  '.csv',
  '.md',
  '.json',
  '.webmanifest',
  '.bmp',
  '.svg',
  '.txt',
]);

const hashOf = (bytes) => createHash('sha256').update(bytes).digest('hex');

function filesUnder(folder) {
  return readdirSync(folder, { withFileTypes: true }).flatMap((entry) => {
    const path = join(folder, entry.name);
    return entry.isDirectory() ? filesUnder(path) : [path];
  });
}

// Brotli at its best takes long for the fonts; the copies are kept by content.
function compressedCopies(file) {
  const bytes = readFileSync(file);
  if (bytes.length < 1024) return;
  const key = hashOf(bytes);
  mkdirSync(cache, { recursive: true });
  for (const [suffix, compress] of [
    [
      '.br',
      (b) =>
        brotliCompressSync(b, {
          params: {
            [constants.BROTLI_PARAM_QUALITY]: b.length > 2e6 ? 10 : 11,
            [constants.BROTLI_PARAM_LGWIN]: 24,
            [constants.BROTLI_PARAM_SIZE_HINT]: b.length,
          },
        }),
    ],
    ['.gz', (b) => gzipSync(b, { level: 9 })],
  ]) {
    const kept = join(cache, key + suffix);
    if (!existsSync(kept)) writeFileSync(kept, compress(bytes));
    // Only worth sending when it is smaller.
    if (statSync(kept).size < bytes.length * 0.95) copyFileSync(kept, file + suffix);
  }
}

function build() {
  for (const source of Object.values(ASSET_SOURCES)) {
    if (!existsSync(source)) throw new Error(`${source} is missing: build the module and run npm ci first`);
  }
  rmSync(out, { recursive: true, force: true });
  mkdirSync(join(out, 'assets'), { recursive: true });
  copyFileSync(join(root, 'web/manifest.webmanifest'), join(out, 'manifest.webmanifest'));
  cpSync(join(root, 'web/icons'), join(out, 'icons'), { recursive: true });
  cpSync(join(root, 'web/app'), join(out, 'app'), { recursive: true });
  cpSync(join(root, 'Load_data'), join(out, 'Load_data'), { recursive: true });
  mkdirSync(join(out, 'docs'));
  copyFileSync(join(root, 'docs/verification.pdf'), join(out, 'docs/verification.pdf'));
  cpSync(join(root, 'src/ui/resources'), join(out, 'pictures'), { recursive: true });
  mkdirSync(join(out, 'fonts'));
  copyFileSync(fontLicence, join(out, 'fonts/IPA_Font_License.txt'));
  if (existsSync(join(wasmOut, 'tavilo-calc.mjs')))
    copyFileSync(join(wasmOut, 'tavilo-calc.mjs'), join(out, 'tavilo-calc.mjs'));

  const assets = {};
  for (const [name, source] of Object.entries(ASSET_SOURCES)) {
    const bytes = readFileSync(source);
    const ext = extname(name);
    const hashed = `assets/${basename(name, ext)}.${hashOf(bytes).slice(0, 12)}${ext}`;
    writeFileSync(join(out, hashed), bytes);
    assets[name] = hashed;
  }
  // The module, its WebAssembly and the location tables are asked for with
  // the page, not after the page's own scripts have arrived (the tables not
  // after the module either, which names them). The WebAssembly first: it
  // is the largest and is compiled as it arrives, while a browser talking
  // HTTP/1.1 holds the requests beyond its six connections back.
  const pageModules = readdirSync(join(root, 'web/app'))
    .filter((f) => f.endsWith('.js') && f !== 'boot.js')
    .concat(['assets.js', 'build.js'])
    .sort();
  const tables = readdirSync(join(root, 'Load_data'))
    .filter((f) => f.endsWith('.csv'))
    .sort();
  const preloads = [
    `<link rel="preload" href="${assets['tavilo.wasm']}" as="fetch" crossorigin>`,
    `<link rel="modulepreload" href="${assets['tavilo.mjs']}">`,
    ...pageModules.map((f) => `<link rel="modulepreload" href="app/${f}">`),
    ...tables.map((f) => `<link rel="preload" href="Load_data/${f}" as="fetch" crossorigin>`),
  ]
    .map((line) => `  ${line}\n`)
    .join('');
  // After the boot script, which holds the page up until it has arrived:
  // the browser finds the links while it waits, but asks for that small
  // script before them instead of after fourteen others.
  const page = readFileSync(join(root, 'web/index.html'), 'utf8');
  const boot = '  <script src="app/boot.js"></script>\n';
  if (!page.includes(boot)) throw new Error('web/index.html: no boot script');
  writeFileSync(join(out, 'index.html'), page.replace(boot, `${boot}${preloads}`));
  writeFileSync(
    join(out, 'app/assets.js'),
    '// Written by web/build.mjs: the content-hashed files of this version.\n' +
      `export const ASSETS = ${JSON.stringify(assets, null, 2)};\n` +
      'export const assetUrl = (name) => new URL(ASSETS[name], document.baseURI).href;\n' +
      '// The module of a script asset, loaded when first asked for.\n' +
      'export const importAsset = (name) => import(assetUrl(name));\n',
  );

  // The service worker keeps every file the page may need offline; its
  // version changes with any of them, so a new version is installed.
  const served = filesUnder(out)
    .map((f) => relative(out, f).split('\\').join('/'))
    .filter((f) => f !== 'tavilo-calc.mjs' && !f.startsWith('fonts/'))
    .sort();
  const version = hashOf(served.map((f) => `${f}:${hashOf(readFileSync(join(out, f)))}`).join('\n')).slice(0, 16);
  writeFileSync(
    join(out, 'app/build.js'),
    `// Written by web/build.mjs: this version of the page's files.\nexport const BUILD = '${version}';\n`,
  );
  served.push('app/build.js');
  const worker = readFileSync(join(root, 'web/sw.js'), 'utf8')
    .replace("const VERSION = 'development';", `const VERSION = '${version}';`)
    .replace(
      'const FILES = [];',
      `const FILES = ${JSON.stringify(['./', ...served.filter((f) => f !== 'index.html')])};`,
    );
  writeFileSync(join(out, 'sw.js'), worker);

  for (const file of filesUnder(out)) {
    if (COMPRESSED.has(extname(file)) && basename(file) !== 'tavilo-calc.mjs') compressedCopies(file);
  }
  return { version, assets };
}

const { version, assets } = build();
const wasm = statSync(join(out, assets['tavilo.wasm'])).size;
console.log(`wrote ${relative(root, out) || out} (version ${version}, tavilo.wasm ${wasm} bytes)`);
