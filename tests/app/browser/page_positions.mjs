// Opens a rendered page in headless Chromium, saves a screenshot and prints, for each
// element id given, one line "id left top width height" from its bounding box (or
// "id missing"). Used by the page-position test (CalculatorPageBrowserTest.cpp).
//
//   node page_positions.mjs <page.html> <screenshot.png> <id>...
import { launchChromium } from '../../e2e/lib/chromium.mjs';

const [html, screenshot, ...ids] = process.argv.slice(2);
const browser = await launchChromium();
try {
  const page = await browser.newPage({ viewport: { width: 1024, height: 768 } });
  await page.goto('file://' + html, { waitUntil: 'load' });
  const boxes = await page.evaluate((list) => list.map((id) => {
    const element = document.getElementById(id);
    if (!element) return `${id} missing`;
    const r = element.getBoundingClientRect();
    return `${id} ${r.left} ${r.top} ${r.width} ${r.height}`;
  }), ids);
  await page.screenshot({ path: screenshot, fullPage: true });
  process.stdout.write(boxes.join('\n') + '\n');
} finally {
  await browser.close();
}
