#!/usr/bin/env bash
# Renders the shipped help document with help-render and checks the page in
# headless Chromium: its DOM (the title heading, tables, Cyrillic text) and
# the style sheet as the browser applied it. Keeps a screenshot.
# Usage: check_help_page.sh HELP_RENDER DOCUMENT.md WORK_FOLDER ARTEFACTS_FOLDER
set -euo pipefail

render="$1" document="$2" work="$3" artefacts="$4"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
browser="$(command -v chromium || true)"
[ -n "$browser" ] || { echo "chromium is missing: run scripts/setup.sh"; exit 1; }

rm -rf "$work"
mkdir -p "$work" "$artefacts"
"$render" "$document" --out "$work/page" >/dev/null
cp "$here/page-check.html" "$work/page/"

run_browser() {
    "$browser" --headless --no-sandbox --disable-gpu --user-data-dir="$work/profile" \
        --no-first-run --disable-extensions --allow-file-access-from-files \
        --virtual-time-budget=5000 "$@" 2>>"$work/chromium.log"
}

failures=0
expect() {
    if grep -qF -- "$2" <<<"$3"; then
        echo "ok: $1"
    else
        echo "FAILED: $1: no \"$2\""
        failures=$((failures + 1))
    fi
}

dom="$(run_browser --dump-dom "file://$work/page/md.html")"
printf '%s\n' "$dom" >"$work/dom.html"
expect "title heading" "<h1>Драйвер весов Tiger для 1С:Предприятия 8</h1>" "$dom"
expect "a table" "<table>" "$dom"
expect "Cyrillic text in a table cell" "<td>Синтаксическая ошибка в IP-адресе</td>" "$dom"
expect "style sheet linked" '<link href="style.css" rel="stylesheet">' "$dom"

report="$(run_browser --dump-dom "file://$work/page/page-check.html")"
printf '%s\n' "$report" >"$work/report.html"
expect "heading found by the browser" "heading=Драйвер весов Tiger" "$report"
expect "style sheet rules loaded" "stylesheet-rules=" "$report"
if grep -q 'stylesheet-rules=0' <<<"$report"; then echo "FAILED: the style sheet has no rules"; failures=$((failures + 1)); fi
expect "heading styled" "heading-background=rgb(29, 93, 144)" "$report"
expect "table header styled" "table-header-background=rgb(228, 236, 244)" "$report"
expect "body font from the style sheet" "body-font=Tahoma" "$report"

run_browser --hide-scrollbars --window-size=1000,2400 --screenshot="$artefacts/help-page.png" \
    "file://$work/page/md.html" >/dev/null
if [ -s "$artefacts/help-page.png" ]; then
    echo "ok: screenshot $artefacts/help-page.png"
else
    echo "FAILED: no screenshot"
    failures=$((failures + 1))
fi
[ "$failures" -eq 0 ]
