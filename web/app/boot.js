// Runs before the page's modules, as a classic script, so that the page is
// never left blank: when a browser lacks what the page needs, or a script,
// the module or the WebAssembly cannot be loaded, the page says which file
// failed and what to check on the server. The modules call
// window.taviloStartFailure for what they find themselves.
(function boot() {
  'use strict';

  var TEXTS = {
    heading: 'Tavilo屋根計算プログラムを起動できませんでした。',
    unsupported:
      'このブラウザーではこのページを使用できません (ES モジュールと WebAssembly SIMD が必要です)。' +
      'Microsoft Edge または Google Chrome の最新版で開いて下さい。',
    missing: function (file, status) {
      return (
        'ファイル「' +
        file +
        '」をサーバーから読み込めませんでした (HTTP ' +
        status +
        ')。' +
        '配布されたフォルダーの中身をすべてサーバーへコピーしたか確かめて下さい。'
      );
    },
    wrongType: function (file, type, expected) {
      return (
        'ファイル「' +
        file +
        '」が ' +
        (type || '種類の分からないファイル') +
        ' として送られています。' +
        'サーバーの MIME タイプの設定で、拡張子 ' +
        file.replace(/^.*(\.[^.]+)$/, '$1') +
        ' を ' +
        expected +
        ' として送るようにして下さい (README のサーバーの設定を参照)。'
      );
    },
    unreachable: function (file) {
      return 'ファイル「' + file + '」を読み込めませんでした。サーバーに接続できるか確かめて下さい。';
    },
    failed: function (file, detail) {
      return (
        'ファイル「' +
        file +
        '」を実行できませんでした (' +
        detail +
        ')。' +
        'ブラウザーが古い場合は、Microsoft Edge または Google Chrome の最新版で開いて下さい。'
      );
    },
    blocked: 'ブラウザーまたはサーバーの設定によりスクリプトの実行が止められました。',
  };

  var started = false;
  var shown = false;

  function show(lines) {
    if (shown) return;
    shown = true;
    var render = function () {
      var loading = document.getElementById('loading');
      if (loading) loading.hidden = true;
      // The tools under the window do nothing without the program.
      var tools = document.getElementById('page-tools');
      if (tools) tools.hidden = true;
      var box = document.getElementById('start-failure');
      var heading = document.createElement('h2');
      heading.textContent = TEXTS.heading;
      box.replaceChildren(heading);
      lines.forEach(function (line) {
        var p = document.createElement('p');
        p.textContent = line;
        box.appendChild(p);
      });
      box.hidden = false;
    };
    if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', render);
    else render();
  }

  // A page-relative name of a URL of this site.
  function fileName(url) {
    var page = new URL('.', document.baseURI).href;
    var full = new URL(url, document.baseURI).href;
    return full.indexOf(page) === 0 ? full.slice(page.length) : full;
  }

  function expectedType(file) {
    if (/\.wasm$/i.test(file)) return 'application/wasm';
    if (/\.css$/i.test(file)) return 'text/css';
    return 'text/javascript';
  }

  // Why one file cannot be used: null when it can.
  function checkFile(url) {
    return fetch(url, { cache: 'no-store' }).then(
      function (response) {
        var file = fileName(url);
        if (!response.ok) return { problem: TEXTS.missing(file, response.status) };
        var type = (response.headers.get('Content-Type') || '').split(';')[0].trim().toLowerCase();
        var expected = expectedType(file);
        var fits =
          expected === 'text/javascript'
            ? /^(text|application)\/(x-)?(java|ecma)script$/.test(type)
            : type === expected;
        if (!fits) return { problem: TEXTS.wrongType(file, type, expected) };
        return response.text().then(function (text) {
          return { text: text };
        });
      },
      function () {
        return { problem: TEXTS.unreachable(fileName(url)) };
      }
    );
  }

  // Follows the imports of a module that did not load to the file at fault.
  function diagnose(url, seen) {
    if (seen[url]) return Promise.resolve(null);
    seen[url] = true;
    return checkFile(url).then(function (found) {
      if (found.problem) return found.problem;
      if (!/\.m?js$/i.test(url)) return null;
      var imports = [];
      var pattern = /(?:\bfrom\s*|\bimport\s*\(?\s*)['"](\.{1,2}\/[^'"]+)['"]/g;
      var match;
      while ((match = pattern.exec(found.text)) !== null) imports.push(new URL(match[1], url).href);
      return imports.reduce(function (chain, next) {
        return chain.then(function (problem) {
          return problem || diagnose(next, seen);
        });
      }, Promise.resolve(null));
    });
  }

  window.taviloStartFailure = function (file, detail) {
    if (detail && typeof detail === 'object' && 'status' in detail) {
      show([TEXTS.missing(file, detail.status)]);
      return;
    }
    var url = new URL(file, document.baseURI).href;
    diagnose(url, {}).then(function (problem) {
      show([problem || TEXTS.failed(file, String(detail || ''))]);
    });
  };

  window.taviloStarted = function () {
    started = true;
    var loading = document.getElementById('loading');
    if (loading) loading.hidden = true;
  };

  // ES modules, <dialog>, and WebAssembly with fixed-width SIMD (a module
  // of one v128 constant validates).
  var simd = new Uint8Array([
    0, 97, 115, 109, 1, 0, 0, 0, 1, 5, 1, 96, 0, 1, 123, 3, 2, 1, 0, 10, 10, 1, 8, 0, 65, 0, 253, 15, 253, 98, 11,
  ]);
  var supported =
    'noModule' in HTMLScriptElement.prototype &&
    typeof WebAssembly === 'object' &&
    WebAssembly.validate(simd) &&
    typeof fetch === 'function' &&
    typeof HTMLDialogElement === 'function';
  if (!supported) {
    show([TEXTS.unsupported]);
    return;
  }

  // A script or style sheet of the page that did not load. What is only
  // asked for early (rel="preload": the WebAssembly, the tables) is judged
  // by the module that reads it: a table the server lacks is a message on
  // the working page, not a failed start.
  window.addEventListener(
    'error',
    function (event) {
      var target = event.target;
      if (started || shown) return;
      if (target instanceof HTMLLinkElement && target.rel === 'preload') return;
      if (target instanceof HTMLScriptElement || target instanceof HTMLLinkElement) {
        var url = target.src || target.href;
        diagnose(url, {}).then(function (problem) {
          show([problem || TEXTS.failed(fileName(url), TEXTS.blocked)]);
        });
      } else if (event.message) {
        show([TEXTS.failed(fileName(event.filename || 'app/main.js'), event.message)]);
      }
    },
    true
  );
})();
