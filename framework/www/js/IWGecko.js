/* IWGecko.js: not yet written; served so that pages that name it load without errors. */
