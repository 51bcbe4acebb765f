// What the page's parts share: the program's module and its lists, the
// result shown with the inputs it was made from, and the run under way.

export const state = {
  M: null,
  choices: null,
  lastResult: null, // the result shown
  shownTexts: null, // the inputs it was made from, as JSON
  run: null, // the run under way
  runStartedAt: 0,
};

// One of the program's entry points: JSON in, JSON out.
export function call(name, arg) {
  const answer = JSON.parse(state.M.ccall(name, "string", ["string"], [JSON.stringify(arg)]));
  if (answer && answer.request_error) throw new Error(`${name}: ${answer.request_error}`);
  return answer;
}
