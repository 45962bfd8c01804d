#include "map/atlas_index.h"

#include <string_view>

namespace velmora {
namespace {

constexpr std::string_view kStyle = R"(
body { font-family: sans-serif; margin: 1.5em; color: #222; background: #fff; }
h1 { font-size: 1.6em; margin: 0 0 0.3em; }
h2 { font-size: 1.2em; margin: 1.2em 0 0.5em; }
.facts { list-style: none; padding: 0; margin: 0; color: #555; }
.facts li { display: inline; }
.facts li + li::before { content: " · "; }
.richness { display: flex; flex-wrap: wrap; gap: 1em; }
figure { margin: 0; }
figcaption { text-align: center; }
img.thumb { display: block; width: 120px; height: auto; border: 1px solid #ccc; }
table { border-collapse: collapse; margin-top: 0.5em; }
th, td { padding: 0.3em 0.6em; text-align: left; vertical-align: middle; }
th { white-space: nowrap; }
thead th { position: sticky; top: 0; background: #e4e4e4; box-shadow: inset 0 -1px #999; }
tbody tr:nth-child(even) { background: #f3f3f3; }
.n { text-align: right; font-variant-numeric: tabular-nums; }
th button { font: inherit; font-weight: bold; color: inherit; text-align: inherit; width: 100%;
  background: none; border: 0; padding: 0; cursor: pointer; }
)";

// Sorting and filtering move the rows themselves: both build the new order in an array and
// put the shown rows back at once, which keeps thousands of rows fast and the zebra stripes
// (counted by the style over the shown rows) right. Filtered-out rows leave the table.
constexpr std::string_view kScript = R"(
'use strict';
{
  const table = document.getElementById('taxa');
  const body = table.tBodies[0];
  const filter = document.getElementById('filter');
  const shown = document.getElementById('shown');
  const collator = new Intl.Collator('de');
  let rows = Array.from(body.rows, (row, index) => ({
    row, index, name: row.cells[1].textContent.toLocaleLowerCase('de')
  }));

  function show() {
    const query = filter.value.trim().toLocaleLowerCase('de');
    const fragment = document.createDocumentFragment();
    let count = 0;
    for (const entry of rows) {
      if (entry.name.includes(query)) {
        fragment.appendChild(entry.row);
        count++;
      }
    }
    body.replaceChildren(fragment);
    shown.textContent = count;
  }

  // Empty cells come last either way; equal ones keep the page's order.
  function sortBy(header) {
    const column = header.cellIndex;
    const numeric = header.dataset.sort === 'number';
    const sign = header.getAttribute('aria-sort') === 'ascending' ? -1 : 1;
    const keyOf = cell => {
      const text = numeric ? cell.dataset.value : cell.textContent;
      return text === undefined || text === '' ? null : numeric ? Number(text) : text;
    };
    const keyed = rows.map(entry => ({entry, key: keyOf(entry.row.cells[column])}));
    keyed.sort((a, b) => {
      const order = a.key === null || b.key === null ? (a.key === null) - (b.key === null)
          : sign * (numeric ? a.key - b.key : collator.compare(a.key, b.key));
      return order || a.entry.index - b.entry.index;
    });
    rows = keyed.map(k => k.entry);
    for (const other of table.tHead.querySelectorAll('th[data-sort]')) {
      other.removeAttribute('aria-sort');
      other.querySelector('.mark').textContent = '';
    }
    header.setAttribute('aria-sort', sign > 0 ? 'ascending' : 'descending');
    header.querySelector('.mark').textContent = sign > 0 ? ' \u25B2' : ' \u25BC';
    show();
  }

  for (const header of table.tHead.querySelectorAll('th[data-sort]')) {
    header.querySelector('button').addEventListener('click', () => sortBy(header));
  }
  filter.addEventListener('input', show);
  if (filter.value) show();  // a browser may restore the field's text
}
)";

std::string Escaped(std::string_view text) {
  static constexpr std::string_view kSpecial = "&<>\"'";
  static constexpr std::string_view kEntities[] = {"&amp;", "&lt;", "&gt;", "&quot;", "&#39;"};
  std::string escaped;
  escaped.reserve(text.size());
  for (char c : text) {
    const size_t special = kSpecial.find(c);
    if (special == std::string_view::npos) {
      escaped += c;
    } else {
      escaped += kEntities[special];
    }
  }
  return escaped;
}

// A relative path as a URL: every byte outside the unreserved characters and '/' encoded, and
// a leading '/' too, so that no path reaches out of the atlas as "/..." or "//host/...".
std::string Encoded(std::string_view path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  for (char c : path) {
    const auto byte = static_cast<unsigned char>(c);
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                       c == '-' || c == '.' || c == '_' || c == '~' ||
                       (c == '/' && !encoded.empty());
    if (plain) {
      encoded += c;
    } else {
      encoded += {'%', kHex[byte >> 4], kHex[byte & 0xF]};
    }
  }
  return encoded;
}

// A thumbnail that links to its map; the description as the link where there is no
// thumbnail; nothing without a map.
std::string LinkedThumbnail(const std::string& map, const std::string& thumbnail,
                            const std::string& description) {
  if (map.empty()) return "";
  const std::string shown = thumbnail.empty()
                                ? Escaped(description)
                                : "<img class=\"thumb\" src=\"" + Encoded(thumbnail) + "\" alt=\"" +
                                      Escaped(description) + "\" width=\"120\" loading=\"lazy\">";
  return "<a href=\"" + Encoded(map) + "\">" + shown + "</a>";
}

std::string NumberCell(std::optional<int> value) {
  if (!value) return "<td class=\"n\"></td>";
  const std::string text = std::to_string(*value);
  return "<td class=\"n\" data-value=\"" + text + "\">" + text + "</td>";
}

std::string SortableHeader(std::string_view label, bool numeric) {
  return std::string("<th scope=\"col\"") +
         (numeric ? " class=\"n\" data-sort=\"number\"" : " data-sort=\"text\"") +
         "><button type=\"button\">" + std::string(label) +
         "<span class=\"mark\" aria-hidden=\"true\"></span></button></th>";
}

std::string RichnessSection(const std::vector<AtlasIndexRichness>& richness) {
  if (richness.empty()) return "";
  std::string html = "<section>\n<h2>Artenzahl je Gruppe</h2>\n<div class=\"richness\">\n";
  for (const AtlasIndexRichness& group : richness) {
    html += "<figure>" + LinkedThumbnail(group.map, group.thumbnail, "Artenzahl " + group.group) +
            "<figcaption>" + Escaped(group.group) + "</figcaption></figure>\n";
  }
  return html + "</div>\n</section>\n";
}

std::string TaxonRow(const AtlasIndexTaxon& taxon) {
  return "<tr><td>" + LinkedThumbnail(taxon.map, taxon.thumbnail, "Karte " + taxon.name) +
         "</td><td>" + Escaped(taxon.name) + "</td><td>" + Escaped(taxon.group) + "</td>" +
         NumberCell(taxon.cells) + NumberCell(taxon.records) + NumberCell(taxon.firstYear) +
         NumberCell(taxon.lastYear) + "</tr>\n";
}

}  // namespace

std::string AtlasIndexHtml(const AtlasIndexPage& page) {
  const std::string total = std::to_string(page.taxa.size());
  std::string html =
      "<!DOCTYPE html>\n<html lang=\"de\">\n<head>\n<meta charset=\"utf-8\">\n"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
      "<title>" +
      Escaped(page.title) + "</title>\n<style>" + std::string(kStyle) +
      "</style>\n</head>\n<body>\n<h1>" + Escaped(page.title) + "</h1>\n";
  if (!page.facts.empty()) {
    html += "<ul class=\"facts\">";
    for (const std::string& fact : page.facts) html += "<li>" + Escaped(fact) + "</li>";
    html += "</ul>\n";
  }
  html += RichnessSection(page.richness);
  html +=
      "<section>\n<h2>Taxa</h2>\n<p><label for=\"filter\">Name filtern</label> "
      "<input id=\"filter\" type=\"search\" autocomplete=\"off\"> "
      "<span aria-live=\"polite\"><span id=\"shown\">" +
      total + "</span> von " + total + (page.taxa.size() == 1 ? " Taxon" : " Taxa") +
      "</span></p>\n";
  html += "<table id=\"taxa\">\n<thead><tr><th scope=\"col\">Karte</th>" +
          SortableHeader("Name", false) + SortableHeader("Gruppe", false) +
          SortableHeader("Rasterfelder", true) + SortableHeader("Nachweise", true) +
          SortableHeader("Erster Nachweis", true) + SortableHeader("Letzter Nachweis", true) +
          "</tr></thead>\n<tbody>\n";
  for (const AtlasIndexTaxon& taxon : page.taxa) html += TaxonRow(taxon);
  return html + "</tbody>\n</table>\n</section>\n<script>" + std::string(kScript) +
         "</script>\n</body>\n</html>\n";
}

}  // namespace velmora
