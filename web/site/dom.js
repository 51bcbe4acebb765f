// The page's small helpers: an element by its id, a new element with its
// properties and children, and a number written to the digits given.

export const $ = (id) => document.getElementById(id);

export function el(tag, props = {}, ...children) {
  const node = document.createElement(tag);
  for (const [k, v] of Object.entries(props)) {
    if (k === "class") node.className = v;
    else if (k === "text") node.textContent = v;
    else if (k.startsWith("aria-") || k === "role" || k === "for" || k === "list") node.setAttribute(k, v);
    else node[k] = v;
  }
  for (const child of children) if (child != null) node.append(child);
  return node;
}

// A number as shown: the digits a builder reads.
export function shown(value, digits) {
  if (value === null || value === undefined || Number.isNaN(value)) return "—";
  if (typeof value !== "number") return String(value);
  return value.toFixed(digits);
}
