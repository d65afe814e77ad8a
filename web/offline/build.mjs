// Assembles the offline page: one tavilo.html that works opened from a disk
// (file:) with no server and no network. The page's modules are bundled into
// one classic script (esbuild, IIFE), the WebAssembly module is the classic
// build that carries its binary (tavilo-offline.js), and the page's files
// (location tables, pictures, overview, report fonts, font library) travel
// inside the page, handed out by prelude.js.
//
//   node web/offline/build.mjs WASM_DIR OUT.html
//
// WASM_DIR is the web folder of the WebAssembly build (build/wasm/web).

import { build } from 'esbuild';
import { readdirSync, readFileSync, renameSync, writeFileSync } from 'node:fs';
import { join, resolve } from 'node:path';

const here = import.meta.dirname;
const root = resolve(here, '../..');
const web = join(root, 'web');
const modules = join(web, 'node_modules');
const [wasmDir, outFile] = process.argv.slice(2);
if (!wasmDir || !outFile) {
  console.error('usage: node web/offline/build.mjs WASM_DIR OUT.html');
  process.exit(2);
}

// The libraries the page names as vendor/NAME, from the pinned packages.
const VENDOR = {
  'pdf-lib.esm.min.js': 'pdf-lib/dist/pdf-lib.esm.min.js',
  'fontkit.umd.min.js': '@pdf-lib/fontkit/dist/fontkit.umd.min.js',
  'marked.esm.js': 'marked/lib/marked.esm.js',
};
const FONT_FOLDER = '/usr/share/fonts/opentype/ipafont-gothic';

// path in the page → file on this machine
function carriedFiles() {
  const files = {};
  const folder = (prefix, dir, keep = () => true) => {
    for (const name of readdirSync(dir).sort()) if (keep(name)) files[`${prefix}/${name}`] = join(dir, name);
  };
  folder('Load_data', join(root, 'Load_data'), (name) => name !== 'README.md');
  folder('pictures', join(root, 'src/ui/resources'));
  files['fonts/ipag.ttf'] = join(FONT_FOLDER, 'ipag.ttf');
  files['fonts/ipagp.ttf'] = join(FONT_FOLDER, 'ipagp.ttf');
  files['vendor/fontkit.umd.min.js'] = join(modules, VENDOR['fontkit.umd.min.js']);
  return files;
}

// The served page learns its files from app/assets.js and app/build.js,
// which web/build.mjs writes; the offline page gets its own: the module's
// factory is the classic build's global (its WebAssembly inside), the
// libraries are bundled, and the other files keep their usual relative
// paths, answered by prelude.js.
const OFFLINE_ASSETS = `
import * as pdfLib from ${JSON.stringify(join(modules, VENDOR['pdf-lib.esm.min.js']))};
import * as marked from ${JSON.stringify(join(modules, VENDOR['marked.esm.js']))};
export const ASSETS = {
  'tavilo.mjs': 'tavilo.html',
  'tavilo.wasm': null,
  'ipag.ttf': 'fonts/ipag.ttf',
  'ipagp.ttf': 'fonts/ipagp.ttf',
  'pdf-lib.js': 'vendor/pdf-lib.esm.min.js',
  'fontkit.js': 'vendor/fontkit.umd.min.js',
  'marked.js': 'vendor/marked.esm.js',
};
const MODULES = {
  'tavilo.mjs': { default: (options) => window.createTavilo(options) },
  'pdf-lib.js': pdfLib,
  'marked.js': marked,
};
export const assetUrl = (name) => ASSETS[name];
export const importAsset = async (name) => MODULES[name];
`;

const offlinePlugin = {
  name: 'tavilo-offline',
  setup(b) {
    b.onResolve({ filter: /^\.\/(assets|build)\.js$/ }, (args) => ({ path: args.path, namespace: 'tavilo-offline' }));
    b.onLoad({ filter: /.*/, namespace: 'tavilo-offline' }, (args) => ({
      contents: args.path === './assets.js' ? OFFLINE_ASSETS : "export const BUILD = 'offline';",
      loader: 'js',
      resolveDir: root,
    }));
  },
};

async function bundle() {
  const result = await build({
    entryPoints: [join(web, 'app/main.js')],
    bundle: true,
    format: 'iife',
    target: ['chrome100', 'firefox100', 'edge100'],
    minify: true,
    legalComments: 'none',
    write: false,
    plugins: [offlinePlugin],
    logLevel: 'error',
  });
  return result.outputFiles[0].text;
}

// Text safe inside <script>…</script>.
const scriptText = (text) => text.replace(/<\/(script)/gi, '<\\/$1').replace(/<!--/g, '<\\!--');

// The fonts the style sheet declares with files of the page's own: their
// rules leave the sheet and the prelude adds the faces from carried bytes.
function splitFontFaces(css) {
  const fonts = [];
  const rest = css.replace(/@font-face\s*{[^}]*}/g, (rule) => {
    const family = /font-family:\s*["']?([^"';]+)["']?/.exec(rule);
    const url = /url\(["']?(?:\.\.\/)?(fonts\/[^"')]+)["']?\)/.exec(rule);
    if (!family || !url) return rule;
    fonts.push({ family: family[1], path: url[1] });
    return '';
  });
  return { css: rest, fonts };
}

function pageBody() {
  const html = readFileSync(join(web, 'index.html'), 'utf8');
  const body = /<body[^>]*>([\s\S]*)<\/body>/i.exec(html)[1];
  // The served page's start-up guard and its message have their offline
  // counterpart in start-failure.html.
  return body
    .replace(/<script\b[\s\S]*?<\/script>/gi, '')
    .replace(/<link\b[^>]*>/gi, '')
    .replace(/<section\b[^>]*id="start-failure"[^>]*>[\s\S]*?<\/section>/gi, '');
}

// A carried file as an inert element: the HTML parser passes over it without
// handing it to the JavaScript engine.
const fileElement = (path, base64) => `<script type="text/x-tavilo-file" data-path="${path}">${base64}</script>`;
// The report fonts and the font library are needed only for a report; they
// follow the scripts, so the input screen does not wait for them.
const late = (path) => path.startsWith('fonts/') || path.startsWith('vendor/');

async function main() {
  const files = carriedFiles();
  const carried = Object.fromEntries(
    Object.entries(files).map(([path, file]) => [path, readFileSync(file).toString('base64')]),
  );
  const elements = (wanted) =>
    Object.entries(carried)
      .filter(([path]) => wanted(path))
      .map(([path, base64]) => fileElement(path, base64))
      .join('\n');
  const { css, fonts } = splitFontFaces(readFileSync(join(web, 'app/style.css'), 'utf8'));
  const module = readFileSync(join(wasmDir, 'tavilo-offline.js'), 'utf8');
  const page = await bundle();
  const icon = `data:image/png;base64,${carried['pictures/tavilo.png']}`;
  const failure = readFileSync(join(here, 'start-failure.html'), 'utf8');
  const html = `<!DOCTYPE html>
<html lang="ja">
<head>
<meta charset="utf-8">
<title>Tavilo屋根計算プログラム</title>
<meta name="viewport" content="width=device-width, initial-scale=1">
<link rel="icon" href="${icon}">
<style>${css}</style>
</head>
<body>
${failure}
${pageBody()}
${elements((path) => !late(path))}
<script>window.taviloFileList=${JSON.stringify(Object.keys(carried))};window.taviloFonts=${JSON.stringify(fonts)};</script>
<script>${scriptText(readFileSync(join(here, 'prelude.js'), 'utf8'))}</script>
<script>${scriptText(module)}</script>
<script>${scriptText(page)}</script>
${elements(late)}
<script>window.taviloOffline.addFonts();</script>
</body>
</html>
`;
  const temporary = `${outFile}.part`;
  writeFileSync(temporary, html);
  renameSync(temporary, outFile);
  console.log(`wrote ${outFile} (${html.length} bytes)`);
}

await main();
