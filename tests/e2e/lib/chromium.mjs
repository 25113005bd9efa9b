// Starting Debian's Chromium for the browser tests: headless, no sandbox (the tests may
// run as root), nothing that talks to the network on its own, and a fresh empty
// profile per launch (playwright creates and removes a temporary user data directory).
import { chromium } from 'playwright-core';

export const kChromiumPath = process.env.ORV_CHROMIUM || '/usr/bin/chromium';

export const kChromiumArgs = [
  '--no-sandbox',
  '--disable-gpu',
  '--disable-background-networking',
  '--disable-component-update',
  '--disable-sync',
  '--no-first-run',
];

export async function launchChromium() {
  return chromium.launch({ executablePath: kChromiumPath, headless: true, args: kChromiumArgs });
}

// A promise with its resolve function, for holding a reply until a test lets it go.
export function deferred() {
  let resolve;
  const promise = new Promise((r) => { resolve = r; });
  return { promise, resolve };
}
