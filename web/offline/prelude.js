// The offline page's files (tavilo.html opened from a disk, file:). Such a
// page may neither fetch() its neighbours nor load module scripts, so the
// release carries the page's files inside it, each in an inert
// <script type="text/x-tavilo-file" data-path="…"> element as base64
// (window.taviloFileList names them all), and this script hands them to the
// page where it asks for them by their usual relative paths: fetch(),
// <img src>, <script src> and the report fonts. Everything else goes on to
// the browser unchanged.
(function () {
  'use strict';
  var known = {};
  (window.taviloFileList || []).forEach(function (path) {
    known[path] = true;
  });
  var TYPES = {
    png: 'image/png',
    bmp: 'image/bmp',
    ttf: 'font/ttf',
    js: 'text/javascript',
    csv: 'text/csv',
    md: 'text/markdown; charset=utf-8',
  };
  var typeOf = function (path) {
    return TYPES[path.slice(path.lastIndexOf('.') + 1).toLowerCase()] || 'application/octet-stream';
  };
  var folder = location.href.replace(/[#?].*$/, '').replace(/[^/]*$/, '');

  // The carried file's path for a URL the page asks for, or null.
  var pathOf = function (url) {
    var text = typeof url === 'string' ? url : url && (url.url || url.href || String(url));
    if (!text) return null;
    if (text.indexOf(folder) === 0) text = text.slice(folder.length);
    else if (/^[a-z][a-z0-9+.-]*:/i.test(text)) return null;
    text = text.replace(/^(\.\/)+/, '').replace(/[#?].*$/, '');
    try {
      text = decodeURIComponent(text);
    } catch (e) {
      /* kept as it is */
    }
    return Object.prototype.hasOwnProperty.call(known, text) ? text : null;
  };

  // The file's base64 text, or null while its element is still to come or
  // may still be being parsed: while the page loads, only the files carried
  // before this script are whole (the late ones, the fonts and the font
  // library, follow the page's scripts).
  var self = document.currentScript;
  var whole = function (element) {
    if (document.readyState !== 'loading') return true;
    return !!self && (element.compareDocumentPosition(self) & Node.DOCUMENT_POSITION_FOLLOWING) !== 0;
  };
  var cache = {};
  var base64Of = function (path) {
    if (cache[path] === undefined) {
      var elements = document.querySelectorAll('script[type="text/x-tavilo-file"]');
      for (var i = 0; i < elements.length; i += 1) {
        if (elements[i].getAttribute('data-path') === path && whole(elements[i])) cache[path] = elements[i].textContent;
      }
    }
    return cache[path] === undefined ? null : cache[path];
  };
  var dataUrl = function (path) {
    return 'data:' + typeOf(path) + ';base64,' + base64Of(path);
  };
  var bytesOf = function (path) {
    var text = atob(base64Of(path));
    var bytes = new Uint8Array(text.length);
    for (var i = 0; i < text.length; i += 1) bytes[i] = text.charCodeAt(i);
    return bytes;
  };
  var parsed = new Promise(function (done) {
    if (document.readyState !== 'loading') done();
    else
      document.addEventListener('DOMContentLoaded', function () {
        done();
      });
  });

  var browserFetch = window.fetch.bind(window);
  window.fetch = function (input, init) {
    var path = pathOf(input);
    if (path !== null) {
      var answer = function () {
        return new Response(bytesOf(path), { status: 200, headers: { 'Content-Type': typeOf(path) } });
      };
      return base64Of(path) !== null ? Promise.resolve(answer()) : parsed.then(answer);
    }
    var text = typeof input === 'string' ? input : input && input.url;
    // A file the page does not carry is missing: a file: page could not
    // read it anyway.
    if (text && !/^(data|blob):/i.test(text) && new URL(text, location.href).protocol === 'file:') {
      return Promise.resolve(new Response('', { status: 404, statusText: 'Not Found' }));
    }
    return browserFetch(input, init);
  };

  // Pictures and scripts named by their relative paths.
  [
    [window.HTMLImageElement, 'src'],
    [window.HTMLScriptElement, 'src'],
  ].forEach(function (entry) {
    var descriptor = Object.getOwnPropertyDescriptor(entry[0].prototype, entry[1]);
    Object.defineProperty(entry[0].prototype, entry[1], {
      configurable: true,
      enumerable: descriptor.enumerable,
      get: descriptor.get,
      set: function (value) {
        var path = pathOf(value);
        descriptor.set.call(this, path === null || base64Of(path) === null ? value : dataUrl(path));
      },
    });
  });

  // A report waits for its fonts, which come at the end of the page.
  var loadFont = document.fonts.load.bind(document.fonts);
  document.fonts.load = function (font, text) {
    return parsed.then(function () {
      return loadFont(font, text);
    });
  };

  window.taviloOffline = {
    // The report fonts, under the families the style sheet names, once
    // their elements are parsed.
    addFonts: function () {
      (window.taviloFonts || []).forEach(function (font) {
        if (base64Of(font.path) === null) return;
        document.fonts.add(new FontFace(font.family, 'url(' + dataUrl(font.path) + ')', { display: 'block' }));
      });
    },
  };
})();
