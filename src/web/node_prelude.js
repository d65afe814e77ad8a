// Gives the CommonJS loader of the WebAssembly module what it expects when
// it runs inside an ES module under Node.js.
import { createRequire } from 'node:module';
import { fileURLToPath } from 'node:url';
import { dirname } from 'node:path';
const require = createRequire(import.meta.url);
const __filename = fileURLToPath(import.meta.url);
const __dirname = dirname(__filename);
// A file name that is not UTF-8 (bytes on Linux) crosses from the program as
// text with each such byte written as the character U+F700 + byte
// (src/platform/utf8_path.cpp); the file system is handed those bytes.
{
  const fs = require('node:fs');
  const escapedByte = (code) => code >= 0xf780 && code <= 0xf7ff;
  const withBytes = (name) => {
    if (typeof name !== 'string' || ![...name].some((c) => escapedByte(c.codePointAt(0))))
      return name;
    const parts = [];
    let text = '';
    for (const c of name) {
      const code = c.codePointAt(0);
      if (!escapedByte(code)) {
        text += c;
        continue;
      }
      parts.push(Buffer.from(text), Buffer.from([code - 0xf700]));
      text = '';
    }
    parts.push(Buffer.from(text));
    return Buffer.concat(parts);
  };
  // The calls by which the module's file system names files.
  const naming = ['chmodSync', 'chownSync', 'lstatSync', 'mkdirSync', 'openSync', 'readdirSync',
    'readlinkSync', 'renameSync', 'rmdirSync', 'statSync', 'symlinkSync', 'truncateSync',
    'unlinkSync', 'utimesSync', 'writeFileSync', 'existsSync', 'accessSync'];
  for (const name of naming) {
    const call = fs[name];
    fs[name] = function (...args) {
      args[0] = withBytes(args[0]);
      if (name === 'renameSync' || name === 'symlinkSync') args[1] = withBytes(args[1]);
      return call.apply(this, args);
    };
  }
}
