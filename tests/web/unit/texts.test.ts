// The page speaks as the desktop does: every text it shares with the window
// is the window's source, and its English the window's translation.
import { readFileSync } from 'node:fs';
import { fileURLToPath } from 'node:url';
import { allTexts, langFromBrowser, setLang, t } from '../../../web/src/i18n';

const tsFile = fileURLToPath(new URL('../../../translations/daro_en.ts', import.meta.url));

function decode(s: string): string {
  return s
    .replace(/<byte value="x([0-9a-f]+)"\/>/gi, (_, h: string) => String.fromCharCode(parseInt(h, 16)))
    .replace(/&quot;/g, '"')
    .replace(/&apos;/g, "'")
    .replace(/&lt;/g, '<')
    .replace(/&gt;/g, '>')
    .replace(/&amp;/g, '&');
}

// context|source|comment -> translation
function desktopTranslations(): Map<string, string> {
  const xml = readFileSync(tsFile, 'utf8');
  const map = new Map<string, string>();
  for (const context of xml.split('<context>').slice(1)) {
    const name = /<name>([^<]*)<\/name>/.exec(context)?.[1] ?? '';
    for (const message of context.split('<message').slice(1)) {
      const source = /<source>([\s\S]*?)<\/source>/.exec(message)?.[1];
      const comment = /<comment>([\s\S]*?)<\/comment>/.exec(message)?.[1] ?? '';
      const translation = /<translation[^>]*>([\s\S]*?)<\/translation>/.exec(message)?.[1];
      if (source === undefined || translation === undefined) continue;
      map.set(`${name}|${decode(source)}|${decode(comment)}`, decode(translation));
    }
  }
  return map;
}

describe('the page texts', () => {
  it('are the desktop sources with the desktop translations', () => {
    const desktop = desktopTranslations();
    expect(desktop.size).toBeGreaterThan(200);
    const wrong: string[] = [];
    for (const text of allTexts()) {
      if (text.page) continue;
      const key = `${text.ctx}|${text.ja}|${text.comment ?? ''}`;
      const en = desktop.get(key);
      if (en !== text.en) wrong.push(`${key}: page "${text.en}", desktop "${en ?? '(no such message)'}"`);
    }
    expect(wrong).toEqual([]);
  });

  it('that only the page has are not texts the desktop already words', () => {
    const desktopSources = new Set([...desktopTranslations().keys()].map((k) => k.split('|')[1]));
    const pageOnly = allTexts().filter((x) => x.page);
    expect(pageOnly.filter((x) => desktopSources.has(x.ja)).map((x) => x.ja)).toEqual([]);
  });

  it('fill in their arguments once, in either language', () => {
    setLang('en');
    expect(t('awayLeft', 12)).toBe('away: 12 s left');
    expect(t('moveLine', 3, '%2', 'King', '1-2', '3-4')).toBe('3 %2 King 1-2 → 3-4');
    setLang('ja');
    expect(t('awayLeft', 12)).toBe('切断: あと12秒');
  });

  it('follow the browser language, Japanese unless English comes first', () => {
    expect(langFromBrowser(['en-GB', 'ja'])).toBe('en');
    expect(langFromBrowser(['fr', 'ja-JP', 'en'])).toBe('ja');
    expect(langFromBrowser(['de'])).toBe('ja');
    expect(langFromBrowser([])).toBe('ja');
  });
});
