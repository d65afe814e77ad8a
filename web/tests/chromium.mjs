// Debian's Chromium, headless, started as this machine needs it: no
// sandbox (root), no GPU, and none of the background connections that a
// closed network refuses. Playwright gives every launch a new, empty profile.
export const CHROMIUM = {
  executablePath: '/usr/bin/chromium',
  headless: true,
  args: [
    '--no-sandbox',
    '--disable-gpu',
    '--disable-quic',
    '--no-first-run',
    '--disable-background-networking',
    '--disable-component-update',
    '--disable-sync',
  ],
};

// Collects what the page's content security policy refused, as Chromium
// reports it on the console.
export function watchContentPolicy(page, violations) {
  page.on('console', (message) => {
    if (/Content Security Policy|Refused to/.test(message.text())) violations.push(message.text());
  });
}
