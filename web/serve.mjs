// Serves the built page (build/web) on this machine only, as any static web
// server would: node web/serve.mjs FOLDER [PORT]. Port 0 picks a free one.

import { createServer } from 'node:http';
import { createReadStream, statSync } from 'node:fs';
import { extname, join, normalize, resolve, sep } from 'node:path';
import { fileURLToPath } from 'node:url';

const TYPES = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8', '.css': 'text/css; charset=utf-8',
  '.wasm': 'application/wasm', '.ttf': 'font/ttf', '.png': 'image/png', '.bmp': 'image/bmp',
  '.csv': 'text/csv', '.md': 'text/markdown; charset=utf-8', '.json': 'application/json',
};

export function serve(folder, port = 8080) {
  const root = resolve(folder);
  const server = createServer((request, response) => {
    const path = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
    let file = normalize(join(root, path));
    if (file !== root && !file.startsWith(root + sep)) {
      response.writeHead(403).end();
      return;
    }
    try {
      if (statSync(file).isDirectory()) file = join(file, 'index.html');
      const size = statSync(file).size;
      response.writeHead(200, {
        'Content-Type': TYPES[extname(file).toLowerCase()] ?? 'application/octet-stream',
        'Content-Length': size,
        'Cache-Control': 'no-cache',
      });
      createReadStream(file).pipe(response);
    } catch {
      response.writeHead(404).end();
    }
  });
  return new Promise((done) => server.listen(port, '127.0.0.1', () => done(server)));
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const [folder = 'build/web', port = '8080'] = process.argv.slice(2);
  const server = await serve(folder, Number(port));
  console.log(`Tavilo: http://127.0.0.1:${server.address().port}/`);
}
