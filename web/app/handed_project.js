// A project handed to the page in its address by the Windows launcher
// (tavilo.exe): "#project=<base64url>&name=<file name>", or
// "#project-too-large&name=…" / "#project-unreadable&name=…" when the file
// could not travel that way. It is read once and taken off the address bar,
// so that a reload or a bookmark does not bring it back.

const decodeBase64Url = (text) => {
  if (!/^[A-Za-z0-9_-]*$/.test(text) || text.length % 4 === 1) return null;
  const plain = text.replaceAll('-', '+').replaceAll('_', '/');
  return Uint8Array.from(atob(plain + '='.repeat((4 - (plain.length % 4)) % 4)), (c) => c.charCodeAt(0));
};

// {name, bytes} of the handed project, {name, failure: 'tooLarge' |
// 'unreadable'}, or null when the address hands none.
export function takeHandedProject(place = window.location, history = window.history) {
  const fragment = place.hash.slice(1);
  if (!/^project[=-]/.test(fragment)) return null;
  try {
    history.replaceState(history.state, '', place.href.replace(/#.*$/, ''));
  } catch {
    place.hash = '';
  }
  const parameters = new URLSearchParams(fragment);
  // The name is a file name only, as the chooser would hand it.
  const name = (parameters.get('name') || 'project.tvl').replace(/^.*[\\/]/, '');
  if (parameters.has('project-too-large')) return { name, failure: 'tooLarge' };
  const bytes = parameters.has('project') ? decodeBase64Url(parameters.get('project')) : null;
  return bytes === null ? { name, failure: 'unreadable' } : { name, bytes };
}
