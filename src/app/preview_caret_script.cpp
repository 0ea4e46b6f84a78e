// The page's side of the caret outline: it runs in a script world of its own,
// so the page's scripts neither see nor disturb it. It draws the outline and
// its label in a closed shadow root, outside the page's body, and reports
// Ctrl+clicks over the web channel.
#include "preview_caret.h"

namespace previewcaret {

QString OutlineScript() {
  return QStringLiteral(R"js(
(function () {
  'use strict';
  if (window.vexaCaret) return;
  var armed = false, target = null, host = null, box = null, label = null;
  var bridge = null, pending = [], frame = 0;

  function withBridge(call) {
    if (bridge) return call(bridge);
    pending.push(call);
    if (pending.length > 1 || typeof qt === 'undefined' || !qt.webChannelTransport) return;
    new QWebChannel(qt.webChannelTransport, function (channel) {
      bridge = channel.objects.vexaPreview;
      var calls = pending;
      pending = [];
      calls.forEach(function (c) { c(bridge); });
    });
  }

  function nameOf(element) { return String(element.localName).toLowerCase(); }

  // The deepest element whose every step matches: [element, steps matched].
  function resolve(path) {
    var node = document.documentElement;
    if (!node || !path.length || path[0][0] !== 0 || path[0][1] !== nameOf(node)) return [null, 0];
    var depth = 1;
    for (; depth < path.length; ++depth) {
      if (nameOf(node) === 'template') break;
      var next = node.children[path[depth][0]];
      if (!next || next === host || nameOf(next) !== path[depth][1]) break;
      node = next;
    }
    return [node, depth];
  }

  function pathOf(element) {
    var path = [];
    for (var e = element; e; e = e.parentElement) {
      var index = 0;
      for (var s = e.previousElementSibling; s; s = s.previousElementSibling) ++index;
      path.unshift([index, nameOf(e)]);
    }
    return path;
  }

  function describe(element) {
    var text = nameOf(element);
    if (element.id) text += '#' + element.id;
    var classes = element.getAttribute('class');
    if (classes) {
      classes.split(/\s+/).filter(Boolean).forEach(function (c) { text += '.' + c; });
    }
    return text.length > 80 ? text.slice(0, 79) + '\u2026' : text;
  }

  function ensureHost() {
    if (host && host.isConnected) return;
    host = document.createElement('vexa-caret-outline');
    host.style.cssText = 'all:initial !important;position:absolute !important;left:0 !important;' +
        'top:0 !important;width:0 !important;height:0 !important;overflow:visible !important;' +
        'z-index:2147483647 !important;pointer-events:none !important;display:block !important';
    var root = host.attachShadow({mode: 'closed'});
    box = document.createElement('div');
    box.style.cssText = 'position:absolute;box-sizing:border-box;border:2px solid #e8710a;' +
        'background:rgba(232,113,10,0.06);pointer-events:none;display:none';
    label = document.createElement('div');
    label.style.cssText = 'position:absolute;background:#e8710a;color:#fff;font:11px/15px ' +
        'sans-serif;padding:0 4px;white-space:nowrap;pointer-events:none;display:none';
    root.appendChild(box);
    root.appendChild(label);
    document.documentElement.appendChild(host);
  }

  function hide() {
    if (box) box.style.display = 'none';
    if (label) label.style.display = 'none';
  }

  function place() {
    frame = 0;
    if (!target || !target.isConnected) return hide();
    var r = target.getBoundingClientRect();
    if (r.width === 0 && r.height === 0) return hide();
    ensureHost();
    var origin = host.getBoundingClientRect();
    var left = r.left - origin.left, top = r.top - origin.top;
    box.style.left = left + 'px';
    box.style.top = top + 'px';
    box.style.width = Math.max(r.width, 2) + 'px';
    box.style.height = Math.max(r.height, 2) + 'px';
    box.style.display = 'block';
    label.textContent = describe(target);
    label.style.left = left + 'px';
    // Above the element, or inside its top where the page begins.
    label.style.top = (r.top >= 16 ? top - 16 : top) + 'px';
    label.style.display = 'block';
  }

  function schedule() {
    if (target && !frame) frame = requestAnimationFrame(place);
  }

  window.addEventListener('scroll', schedule, {capture: true, passive: true});
  window.addEventListener('resize', schedule, {passive: true});
  window.addEventListener('load', schedule);
  var observer = typeof ResizeObserver === 'function' ? new ResizeObserver(schedule) : null;

  function show(element, scroll) {
    if (observer && target) observer.unobserve(target);
    target = element;
    if (!target) return hide();
    if (observer) observer.observe(target);
    place();
    if (scroll) {
      var r = target.getBoundingClientRect();
      var seen = r.bottom > 0 && r.right > 0 && r.top < window.innerHeight &&
          r.left < window.innerWidth;
      if (!seen && (r.width > 0 || r.height > 0)) {
        target.scrollIntoView({block: 'center', inline: 'nearest'});
        place();
      }
    }
  }

  // A click with Ctrl finds the element's start tag instead of doing what the
  // click would do; a plain click does what it always does.
  window.addEventListener('click', function (event) {
    if (!armed || !(event.ctrlKey || event.metaKey) || event.button !== 0) return;
    event.preventDefault();
    event.stopImmediatePropagation();
    var element = event.target;
    if (element && element.nodeType !== 1) element = element.parentElement;
    if (!element) return;
    var path = pathOf(element);
    withBridge(function (b) { b.clicked(path); });
  }, true);

  window.vexaCaret = {
    // Whether this page is the document's copy: only then are clicks taken.
    arm: function (on) { armed = !!on; },
    // Outlines the element at the path, or the nearest one that matches;
    // returns its description, or '' when nothing matched.
    outline: function (path, scroll) {
      var found = resolve(path);
      show(found[1] > 1 || (found[1] === 1 && path.length === 1) ? found[0] : null, scroll);
      return target ? describe(target) : '';
    },
    clear: function () { show(null, false); },
    // For the tests: the outlined element's path, where it is drawn, and whether it is seen.
    outlined: function () {
      if (!target || !box || box.style.display === 'none') return null;
      var r = box.getBoundingClientRect();
      return {path: pathOf(target), left: r.left, top: r.top, width: r.width, height: r.height,
              text: label.textContent};
    }
  };
})();
)js");
}

}  // namespace previewcaret
