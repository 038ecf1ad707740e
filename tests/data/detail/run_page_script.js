// Runs the inline script of the local detail page under node with a stub
// window location and a stub jQuery whose document-ready hook is fired by
// hand. Prints one JSON line: how many ready hooks were registered, where
// the page had navigated before the document was ready, and after.
//
// usage: node run_page_script.js <detail.html> <location.search>
"use strict";
const fs = require("fs");
const vm = require("vm");

const [htmlPath, search] = process.argv.slice(2);
const html = fs.readFileSync(htmlPath, "utf8");
// Inline scripts only: the one with a src is jQuery itself, stubbed here.
const scripts = [...html.matchAll(/<script(?![^>]*\bsrc=)[^>]*>([\s\S]*?)<\/script>/gi)].map((m) => m[1]);

const readyHooks = [];
const navigations = [];
const location = {
  search: search,
  get href() { return "file:///C:/Kelvora/data/detail/detail.html" + this.search; },
  set href(url) { navigations.push(String(url)); },
  assign(url) { navigations.push(String(url)); },
  replace(url) { navigations.push(String(url)); },
};
const document = { readyState: "loading" };
const window = { location: location, document: document };
function jQuery(arg) {
  if (typeof arg === "function") {
    readyHooks.push(arg);
    return jQuery;
  }
  return { ready(fn) { readyHooks.push(fn); return this; } };
}
window.jQuery = window.$ = jQuery;

const context = vm.createContext({ window, document, location, jQuery, $: jQuery });
for (const code of scripts) vm.runInContext(code, context, { filename: "detail.html" });
const beforeReady = navigations.slice();
for (const hook of readyHooks) hook.call(document, jQuery);
console.log(JSON.stringify({ hooks: readyHooks.length, beforeReady, navigations }));
