// Serves the built page (build/web) on this machine only, as an office's
// static web server should: node web/serve.mjs FOLDER [PORT]. Port 0 picks a
// free one. It sends the page's security headers, validators (ETag and
// Last-Modified, answered with 304), the precompressed .br/.gz copy beside a
// file when the browser takes it (else compresses text on the fly), and
// marks the content-hashed files of assets/ immutable.

import { createServer } from 'node:http';
import { createReadStream, existsSync, readFileSync, statSync } from 'node:fs';
import { extname, join, normalize, resolve, sep } from 'node:path';
import { fileURLToPath } from 'node:url';
import { brotliCompressSync, constants, gzipSync } from 'node:zlib';

export const TYPES = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.wasm': 'application/wasm',
  '.ttf': 'font/ttf',
  '.png': 'image/png',
  '.bmp': 'image/bmp',
  '.csv': 'text/csv',
  '.md': 'text/markdown; charset=utf-8',
  '.json': 'application/json',
  '.webmanifest': 'application/manifest+json',
  '.txt': 'text/plain; charset=utf-8',
  '.svg': 'image/svg+xml',
  '.pdf': 'application/pdf',
};

// The policy the page is written for: nothing but its own files, no string
// evaluation, no inline script or style, never inside another site's frame.
export const CONTENT_SECURITY_POLICY =
  "default-src 'self'; script-src 'self' 'wasm-unsafe-eval'; " +
  "object-src 'none'; base-uri 'none'; frame-ancestors 'none'";

export const SECURITY_HEADERS = {
  'Content-Security-Policy': CONTENT_SECURITY_POLICY,
  'X-Content-Type-Options': 'nosniff',
  'Referrer-Policy': 'no-referrer',
  'Cross-Origin-Opener-Policy': 'same-origin',
};

// Content-hashed names (assets/NAME.HASH.EXT) never change their content.
const IMMUTABLE = /^\/assets\//;
const COMPRESSIBLE = /^(text\/|application\/(wasm|json|manifest\+json)|font\/ttf|image\/(bmp|svg))/;

function acceptedEncodings(request) {
  const offered = String(request.headers['accept-encoding'] ?? '')
    .split(',')
    .map((part) => {
      const [name, ...parameters] = part.trim().split(';');
      const q = parameters.map((p) => p.trim().match(/^q=([\d.]+)$/)).find(Boolean);
      return { name: name.trim().toLowerCase(), q: q ? Number(q[1]) : 1 };
    });
  return ['br', 'gzip'].filter((e) => offered.some((o) => o.name === e && o.q > 0));
}

const compressed = new Map(); // `${file}:${etag}:${encoding}` -> Buffer
function compressOnTheFly(file, etag, encoding) {
  const key = `${file}:${etag}:${encoding}`;
  if (!compressed.has(key)) {
    const bytes = readFileSync(file);
    compressed.set(
      key,
      encoding === 'br'
        ? brotliCompressSync(bytes, { params: { [constants.BROTLI_PARAM_QUALITY]: 5 } })
        : gzipSync(bytes),
    );
  }
  return compressed.get(key);
}

export function serve(folder, port = 8080) {
  const root = resolve(folder);
  const server = createServer((request, response) => {
    let path;
    try {
      path = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
    } catch {
      response.writeHead(400).end();
      return;
    }
    let file = normalize(join(root, path));
    if (file !== root && !file.startsWith(root + sep)) {
      response.writeHead(403).end();
      return;
    }
    if (request.method !== 'GET' && request.method !== 'HEAD') {
      response.writeHead(405, { Allow: 'GET, HEAD' }).end();
      return;
    }
    let stat;
    try {
      stat = statSync(file);
      if (stat.isDirectory()) {
        file = join(file, 'index.html');
        stat = statSync(file);
      }
    } catch {
      response.writeHead(404, SECURITY_HEADERS).end();
      return;
    }
    const type = TYPES[extname(file).toLowerCase()] ?? 'application/octet-stream';
    const etag = `"${stat.size.toString(16)}-${Math.floor(stat.mtimeMs).toString(16)}"`;
    const headers = {
      ...SECURITY_HEADERS,
      'Content-Type': type,
      'Cache-Control': IMMUTABLE.test(path) ? 'public, max-age=31536000, immutable' : 'no-cache',
      ETag: etag,
      'Last-Modified': new Date(Math.floor(stat.mtimeMs / 1000) * 1000).toUTCString(),
      Vary: 'Accept-Encoding',
    };
    const noneMatch = request.headers['if-none-match'];
    const modifiedSince = Date.parse(request.headers['if-modified-since'] ?? '');
    const unchanged =
      noneMatch !== undefined
        ? noneMatch.split(',').some((tag) => tag.trim().replace(/^W\//, '') === etag)
        : !Number.isNaN(modifiedSince) && Math.floor(stat.mtimeMs / 1000) * 1000 <= modifiedSince;
    if (unchanged) {
      response.writeHead(304, headers).end();
      return;
    }
    const compressible = COMPRESSIBLE.test(type);
    const encoding = compressible ? acceptedEncodings(request)[0] : undefined;
    const suffix = { br: '.br', gzip: '.gz' };
    const precompressed = compressible
      ? acceptedEncodings(request).find((e) => existsSync(file + suffix[e]))
      : undefined;
    if (precompressed) {
      const copy = file + suffix[precompressed];
      headers['Content-Encoding'] = precompressed;
      headers['Content-Length'] = statSync(copy).size;
      response.writeHead(200, headers);
      if (request.method === 'HEAD') response.end();
      else createReadStream(copy).pipe(response);
      return;
    }
    if (encoding && stat.size > 1024) {
      const body = compressOnTheFly(file, etag, encoding);
      headers['Content-Encoding'] = encoding;
      headers['Content-Length'] = body.length;
      response.writeHead(200, headers);
      response.end(request.method === 'HEAD' ? undefined : body);
      return;
    }
    headers['Content-Length'] = stat.size;
    response.writeHead(200, headers);
    if (request.method === 'HEAD') response.end();
    else createReadStream(file).pipe(response);
  });
  return new Promise((done) => server.listen(port, '127.0.0.1', () => done(server)));
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const [folder = 'build/web', port = '8080'] = process.argv.slice(2);
  if (!existsSync(join(folder, 'index.html'))) {
    console.error(`${folder}/index.html がありません。先に bash scripts/web build を実行して下さい。`);
    process.exit(2);
  }
  const server = await serve(folder, Number(port));
  console.log(`Tavilo: http://127.0.0.1:${server.address().port}/`);
}
