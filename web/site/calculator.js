// The calculator: the desktop window's two steps, drawn from the window's own
// table of controls (tarvix_form_table) at their positions, and driven by the
// C++ that keeps the design: every key typed into a box is filtered by it,
// every edit is sent to it, and what it answers (the boxes' texts, the OK
// buttons, the panels shown, the messages) is rendered here. This file
// computes nothing.
"use strict";

const TarvixCalculator = (() => {
  const TWIPS_PER_PIXEL = 15;
  const CAPTION_HEIGHT = 20; // the title bar drawn above the client area, px

  let call = null; // (name, arg) -> answer, from app.js
  let table = null;
  const controls = new Map(); // name -> element
  let tabStops = []; // focusable controls in the window's tab order
  const messageQueue = [];
  let showingMessage = false;
  let onMessage = null;

  const px = (twips) => Math.round(twips / TWIPS_PER_PIXEL);

  // A caption as a screen reader would say it: "No. of Turns of the Coil ="
  // names the box after its "=", and runs of blanks mean nothing.
  const nameFromCaption = (text) => text.trim().replace(/=$/, "").replace(/\s+/g, " ").trim();

  function place(el, c) {
    el.classList.add("ctl");
    el.style.left = px(c.left) + "px";
    el.style.top = px(c.top) + "px";
    el.style.width = px(c.width) + "px";
    el.style.height = px(c.height) + "px";
  }

  function domId(name) {
    return "calc-" + name.replace(/[^A-Za-z0-9_-]/g, "_");
  }

  function build(client) {
    client.textContent = "";
    controls.clear();
    const kids = (panel) =>
      table.controls
        .filter((c) => (c.panel || "") === panel && c.kind !== "Panel")
        .sort((a, b) => tabKey(a) - tabKey(b));
    // Labels that name a box become its <label>: the box's accessible name
    // is its caption's.
    const labelFor = new Map();
    for (const c of table.controls) {
      if (!c.accessible_name || c.kind === "Label" || c.kind === "Panel") continue;
      // Named by a label of the table ({"label": its name}), or by a text
      // that may be a label's caption.
      if (typeof c.accessible_name === "object") {
        if (c.accessible_name.label) labelFor.set(c.accessible_name.label, c.name);
        continue;
      }
      const caption = table.controls.find(
        (l) => l.kind === "Label" && (l.panel || "") === (c.panel || "") &&
          nameFromCaption(l.text) === c.accessible_name);
      if (caption) labelFor.set(caption.name, c.name);
    }

    const make = (c) => {
      let el;
      switch (c.kind) {
        case "Label":
          if (c.author_link && table.author_url) {
            el = document.createElement("a");
            el.href = table.author_url;
            el.target = "_blank";
            el.rel = "noopener";
          } else if (labelFor.has(c.name)) {
            el = document.createElement("label");
            el.htmlFor = domId(labelFor.get(c.name));
          } else {
            el = document.createElement("div");
          }
          el.className = "label";
          el.textContent = c.text;
          break;
        case "TextBox":
          el = document.createElement("input");
          el.type = "text";
          el.value = c.text;
          el.spellcheck = false;
          el.autocomplete = "off";
          el.setAttribute("autocapitalize", "off");
          if (c.locked) el.readOnly = true;
          else el.inputMode = "decimal";
          wireBox(el, c);
          break;
        case "DropDownList": {
          el = document.createElement("select");
          for (const item of (table.lists && table.lists[c.name]) || []) {
            const option = document.createElement("option");
            option.value = option.textContent = item;
            el.append(option);
          }
          el.value = c.text;
          el.addEventListener("change", () => send({ event: "change", box: c.part || c.name, text: el.value }));
          break;
        }
        case "PushButton":
          el = document.createElement("button");
          el.type = "button";
          el.textContent = c.text;
          el.addEventListener("click", () => {
            send({ event: "click", button: c.part || c.name });
          });
          break;
        case "Picture":
          el = document.createElement("img");
          if (table.picture) el.src = table.picture;
          el.alt = typeof c.accessible_name === "string" ? c.accessible_name : "";
          break;
        default:
          el = document.createElement("div");
      }
      el.id = domId(c.name);
      el.dataset.name = c.name;
      if (c.kind !== "Label" && typeof c.accessible_name === "string" &&
          !Array.from(labelFor.values()).includes(c.name)) {
        el.setAttribute("aria-label", c.accessible_name);
      }
      place(el, c);
      if (c.result_font) el.classList.add("result-font");
      if (c.disabled) el.disabled = true;
      if (c.hidden) el.hidden = true;
      controls.set(c.name, el);
      return el;
    };

    // The panels in the order their controls are reached, each with its own
    // controls in tab order, so that the page's order is the window's.
    const panels = table.controls.filter((c) => c.kind === "Panel");
    const firstStop = (p) => Math.min(...kids(p.name).map(tabKey), tabKey(p));
    const top = kids("").concat(panels).sort((a, b) =>
      (a.kind === "Panel" ? firstStop(a) : tabKey(a)) - (b.kind === "Panel" ? firstStop(b) : tabKey(b)));
    for (const c of top) {
      if (c.kind !== "Panel") {
        client.append(make(c));
        continue;
      }
      const panel = document.createElement("div");
      panel.className = "panel";
      panel.setAttribute("role", "group");
      const caption = document.createElement("div");
      caption.className = "panel-caption";
      caption.id = domId(c.name) + "-caption";
      caption.textContent = c.text;
      panel.setAttribute("aria-labelledby", caption.id);
      panel.append(caption);
      panel.id = domId(c.name);
      place(panel, c);
      if (c.hidden) panel.hidden = true;
      controls.set(c.name, panel);
      for (const k of kids(c.name)) panel.append(make(k));
      client.append(panel);
    }
    // Each caption that names a box stands just before it, so that where the
    // window is laid out as a column (a phone) the caption heads its box.
    // Captions take no focus: the order of Tab is unchanged.
    for (const [label, box] of labelFor) {
      const caption = controls.get(label);
      const named = controls.get(box);
      if (caption && named && caption.parentNode === named.parentNode) {
        named.parentNode.insertBefore(caption, named);
      }
    }
    tabStops = table.controls
      .filter((c) => ["TextBox", "DropDownList", "PushButton"].includes(c.kind))
      .sort((a, b) => tabKey(a) - tabKey(b))
      .map((c) => controls.get(c.name));
  }

  function tabKey(c) {
    return typeof c.tab_index === "number" && c.tab_index >= 0 ? c.tab_index : 1e6;
  }

  // The code a typed character stands for, as the window's key filter takes it.
  function wireBox(el, c) {
    const box = c.part || c.name;
    // A typed or composed text: each character through the filter. What it
    // discards never reaches the box; what it changes goes in changed.
    el.addEventListener("beforeinput", (event) => {
      let codes;
      if (event.inputType === "deleteContentBackward") codes = [8];
      else if (event.inputType === "insertText" && event.data) codes = Array.from(event.data).map((ch) => ch.codePointAt(0));
      else return; // a paste, a cut or Delete: not key presses
      const kept = [];
      let changed = false;
      for (const code of codes) {
        const answer = send({ event: "key", box, key: code }, { render: false });
        const key = answer ? answer.key : code;
        if (key !== code) changed = true;
        if (key) kept.push(key);
      }
      if (!changed) return;
      event.preventDefault();
      if (el.readOnly) return;
      if (kept.length === 1 && kept[0] === 8) {
        // Backspace passed as itself: let the box delete as it would have.
        deleteBackward(el);
      } else {
        const text = String.fromCodePoint(...kept.filter((k) => k !== 8));
        if (text) el.setRangeText(text, el.selectionStart, el.selectionEnd, "end");
      }
      el.dispatchEvent(new Event("input", { bubbles: true }));
    });
    el.addEventListener("keydown", (event) => {
      if (event.key !== "Enter" || event.isComposing) return;
      const answer = send({ event: "key", box, key: 13 }, { render: false });
      if (answer && answer.key === 0) event.preventDefault();
    });
    el.addEventListener("input", () => {
      send({ event: "change", box, text: el.value });
    });
  }

  function deleteBackward(el) {
    const start = el.selectionStart;
    const end = el.selectionEnd;
    if (start !== end) el.setRangeText("", start, end, "end");
    else if (start > 0) el.setRangeText("", start - 1, start, "end");
  }

  // Sends one event to the C++ and renders its answer; the messages are
  // queued and shown one after another.
  function send(event, { render = true } = {}) {
    let answer;
    try {
      answer = call("tarvix_form_event", event);
    } catch (error) {
      queueMessage(String(error && error.message ? error.message : error));
      return null;
    }
    if (!answer || typeof answer !== "object") return null;
    if (answer.request_error) {
      // The page asked for something the program does not know: said, not
      // hidden, so that it gets fixed.
      const status = document.getElementById("calc-status");
      if (status) status.textContent = "The calculator refused the page's request: " + answer.request_error;
      return null;
    }
    if (render || (answer.messages && answer.messages.length)) apply(answer);
    return answer;
  }

  function apply(answer) {
    const focused = document.activeElement;
    for (const [box, text] of Object.entries(answer.texts || {})) {
      const el = controlFor(box);
      if (el && "value" in el && el.value !== text) {
        if (el.tagName === "SELECT" && !Array.from(el.options).some((o) => o.value === text)) continue;
        el.value = text;
      }
    }
    for (const [button, on] of Object.entries(answer.enabled || {})) {
      const el = controlFor(button);
      if (el) el.disabled = !on;
    }
    for (const [panel, shown] of Object.entries(answer.panels || {})) {
      const el = controlFor(panel);
      if (el) el.hidden = !shown;
    }
    moveFocusOffHidden(focused);
    for (const text of answer.messages || []) queueMessage(text);
  }

  // The table names each box, button and panel as the C++ does; the
  // controls are found by either name.
  function controlFor(name) {
    if (controls.has(name)) return controls.get(name);
    const row = table.controls.find((c) => c.part === name);
    return row ? controls.get(row.name) : null;
  }

  function shown(el) {
    for (let e = el; e && e !== document.body; e = e.parentElement) {
      if (e.hidden) return false;
    }
    return true;
  }

  // A control hidden with its panel takes no keys: the focus moves on in tab
  // order to the next control shown and enabled, as in the window.
  function moveFocusOffHidden(focused) {
    if (!focused || !tabStops.includes(focused) || shown(focused)) return;
    const at = tabStops.indexOf(focused);
    for (let i = 1; i < tabStops.length; i++) {
      const next = tabStops[(at + i) % tabStops.length];
      if (shown(next) && !next.disabled) {
        next.focus();
        return;
      }
    }
  }

  function queueMessage(text) {
    messageQueue.push(text);
    // Shown once the key's own handling is over: a dialog opened inside it
    // would leave the box unable to take text afterwards.
    if (!showingMessage) {
      showingMessage = true;
      setTimeout(showNext, 0);
    }
  }

  function showNext() {
    const text = messageQueue.shift();
    if (text === undefined) {
      showingMessage = false;
      return;
    }
    showingMessage = true;
    const dialog = document.getElementById("message");
    const returnTo = document.activeElement;
    const caret = returnTo && "selectionStart" in returnTo && returnTo.type === "text"
      ? [returnTo.selectionStart, returnTo.selectionEnd] : null;
    document.getElementById("message-title").textContent = table ? table.caption : "Tarvix";
    document.getElementById("message-text").textContent = text;
    if (onMessage) onMessage(text);
    dialog.addEventListener("close", () => {
      // The dialog gives the focus back itself; a box hidden meanwhile
      // passes it on.
      // The box is focused afresh, its caret where it was: given back
      // focus alone, it would not take typing until clicked again.
      setTimeout(() => {
        if (returnTo && shown(returnTo) && typeof returnTo.focus === "function") {
          if (document.activeElement === returnTo) returnTo.blur();
          returnTo.focus();
          if (caret) returnTo.setSelectionRange(caret[0], caret[1]);
        }
        showNext();
      }, 0);
    }, { once: true });
    dialog.showModal();
    document.getElementById("message-ok").focus();
  }

  // The window at its own size where it fits, scaled down as a whole where
  // a little room is missing, and laid out as a column (each caption above
  // its box, at a size a finger can use) where it would be too small to
  // read: on a phone.
  const SMALLEST_SCALE = 0.8;
  function fit() {
    const frame = document.getElementById("form-frame");
    const win = document.getElementById("form-window");
    if (!table || !frame || frame.offsetParent === null) return;
    const client = document.getElementById("form-client");
    const width = px(table.width_twips) + 2;
    const height = px(table.height_twips) + CAPTION_HEIGHT + 2;
    const room = frame.clientWidth;
    const column = room / width < SMALLEST_SCALE;
    win.classList.toggle("column", column);
    if (column) {
      win.style.width = win.style.height = win.style.transform = "";
      client.style.width = client.style.height = "";
      frame.style.height = "";
      win.dataset.scale = "1";
      return;
    }
    client.style.width = px(table.width_twips) + "px";
    client.style.height = px(table.height_twips) + "px";
    if (!fontFitted) fitFont(win);
    const scale = Math.min(1, room / width);
    win.style.width = width + "px";
    win.style.height = height + "px";
    win.style.transform = scale < 1 ? `scale(${scale})` : "";
    frame.style.height = Math.ceil(height * scale) + "px";
    win.dataset.scale = String(scale);
  }

  // The layout was drawn for a small dialog font; where the browser draws
  // the captions wider, smaller sizes are tried until every caption fits its
  // box (measured with every panel shown).
  let fontFitted = false;
  function fitFont(win) {
    const panels = Array.from(win.querySelectorAll(".panel"));
    const wasHidden = panels.map((p) => p.hidden);
    panels.forEach((p) => { p.hidden = false; });
    const labels = Array.from(win.querySelectorAll(".label"));
    const fits = () => labels.every((l) => l.scrollHeight <= l.clientHeight + 1 && l.scrollWidth <= l.clientWidth + 1);
    for (const size of [11, 10, 9, 8]) {
      win.style.fontSize = size + "px";
      if (fits()) break;
    }
    panels.forEach((p, i) => { p.hidden = wasHidden[i]; });
    fontFitted = true;
  }

  function start(callFunction, { messageSeen } = {}) {
    call = callFunction;
    onMessage = messageSeen || null;
    table = call("tarvix_form_table", {});
    document.getElementById("form-caption").textContent = table.caption;
    // fit() sizes the client area for the layout the screen takes.
    build(document.getElementById("form-client"));
    // The design's state as the C++ holds it now.
    send({ event: "state" });
    fit();
    window.addEventListener("resize", fit);
  }

  function firstBox() {
    return tabStops.find((el) => shown(el) && !el.disabled) || null;
  }

  return { start, fit, firstBox, control: controlFor };
})();
