// An atlas's file names and its index page.
#include <gtest/gtest.h>

#include <regex>

#include "map/atlas_file_names.h"
#include "map/atlas_index.h"

namespace velmora {
namespace {

TEST(AtlasFileNames, MakesNamesSafe) {
  const struct {
    std::string name;
    std::string expected;
  } cases[] = {
      {"Bufo bufo", "Bufo-bufo"},
      {"Ärger Öl Übel süß", "Aerger-Oel-Uebel-suess"},
      {"Crème brûlée, Niño, Ångström, Øre", "Creme-brulee-Nino-Angstroem-Ore"},
      {"Sorbus ×intermedia Dvořák Łódź", "Sorbus-xintermedia-Dvorak-Lodz"},
      {"Mu\u0308ller Cafe\u0301", "Mueller-Cafe"},
      {"a/b\\c:d*e?f|g\th\nj\x7fk 白 l", "a-b-c-d-e-f-g-h-j-k-l"},
      {" ..\"Quoted\" 'name' (L.). ", "Quoted-name-L"},
      {"", "taxon"},
      {"Жук", "taxon"},
      {std::string(100, 'a'), std::string(80, 'a')},
      {std::string(79, 'a') + " b", std::string(79, 'a')},
      {"CON", "CON_"},
      {"Aux.", "Aux_"},
      {"lpt9", "lpt9_"},
      {"console", "console"},
      {"COM10", "COM10"},
      {"a\xff\xfeg", "a-g"},
      {"\xc0\xafx", "x"},      // an overlong '/'
      {"\xed\xa0\x80z", "z"},  // a surrogate
      {"\xc3\xa4\xc3", "ae"},  // cut off
  };
  for (const auto& c : cases) {
    AtlasFileNames names;
    EXPECT_EQ(names.Take(c.name), c.expected) << c.name;
  }
}

TEST(AtlasFileNames, KeepsNamesApartWhateverTheirCase) {
  const std::string nearlyLong = std::string(77, 'a') + " bcd";
  const std::vector<std::pair<std::string, std::string>> taken = {
      {"Carex", "Carex"},
      {"carex", "carex-2"},
      {"CAREX", "CAREX-3"},
      {"Carex-2", "Carex-2-2"},
      {"Müller", "Mueller"},
      {"MUELLER", "MUELLER-2"},
      {"", "taxon"},
      {"?", "taxon-2"},
      {"x-3", "x-3"},
      {"X", "X"},
      {"x", "x-2"},
      {"x", "x-4"},
      {"nul", "nul_"},
      {"NUL", "NUL_-2"},
      {nearlyLong, std::string(77, 'a') + "-bc"},
      {nearlyLong, std::string(77, 'a') + "-2"}};
  AtlasFileNames names;
  for (const auto& [name, expected] : taken) EXPECT_EQ(names.Take(name), expected) << name;
}

AtlasIndexTaxon Taxon(std::string name, std::string group, int cells, int records,
                      std::optional<int> first, std::optional<int> last, const std::string& stem) {
  const std::string map = stem.empty() ? "" : "maps/" + stem + ".png";
  const std::string thumbnail = stem.empty() ? "" : "thumbnails/" + stem + ".png";
  return {name, group, cells, records, first, last, map, thumbnail};
}

// Where the page's scripts, styles, pictures and links point.
std::vector<std::string> References(const std::string& html) {
  const std::regex reference("<(script|link|img|a)\\b[^>]*\\b(src|href)=\"([^\"]*)\"");
  std::vector<std::string> targets;
  for (std::sregex_iterator r(html.begin(), html.end(), reference), end; r != end; ++r) {
    targets.push_back((*r)[3]);
  }
  return targets;
}

size_t Occurrences(const std::string& html, const std::string& text) {
  size_t count = 0;
  for (size_t at = html.find(text); at != std::string::npos; at = html.find(text, at + 1)) ++count;
  return count;
}

TEST(AtlasIndexHtml, ListsEachTaxonWithItsNumbers) {
  const AtlasIndexPage page{"Atlas",
                            {"Quadranten"},
                            {Taxon("Carabus auratus", "Käfer", 12, 1234, 1950, 2020, "Carabus"),
                             Taxon("Bembidion", "Käfer", 0, 0, std::nullopt, std::nullopt, ""),
                             Taxon("Harpalus", "Laufkäfer", 3, 5, 2001, std::nullopt, "Harpalus")},
                            {}};
  const std::string html = AtlasIndexHtml(page);
  for (const char* row :
       {R"(<tr><td><a href="maps/Carabus.png"><img class="thumb" src="thumbnails/Carabus.png")"
        R"( alt="Karte Carabus auratus" width="120" loading="lazy"></a></td>)",
        R"(<td>Carabus auratus</td><td>Käfer</td><td class="n" data-value="12">12</td>)"
        R"(<td class="n" data-value="1234">1234</td><td class="n" data-value="1950">1950</td>)"
        R"(<td class="n" data-value="2020">2020</td></tr>)",
        R"(<tr><td></td><td>Bembidion</td><td>Käfer</td><td class="n" data-value="0">0</td>)"
        R"(<td class="n" data-value="0">0</td><td class="n"></td><td class="n"></td></tr>)",
        R"(<td>Harpalus</td><td>Laufkäfer</td><td class="n" data-value="3">3</td>)"
        R"(<td class="n" data-value="5">5</td><td class="n" data-value="2001">2001</td>)"
        R"(<td class="n"></td></tr>)",
        R"(<span id="shown">3</span> von 3 Taxa)"}) {
    EXPECT_EQ(Occurrences(html, row), 1u) << row;
  }
  EXPECT_EQ(Occurrences(html, "<tr><td"), 3u);
  EXPECT_EQ(Occurrences(html, "Artenzahl je Gruppe"), 0u) << "no richness maps";
  EXPECT_EQ(Occurrences(html, "<link"), 0u);
  EXPECT_EQ(Occurrences(html, "<script"), 1u) << "one inline script";
  const std::vector<std::string> targets = References(html);
  EXPECT_EQ(targets.size(), 4u);
  for (const std::string& target : targets) {
    EXPECT_TRUE(target.find("http") == std::string::npos && target.find("//") == std::string::npos)
        << target;
  }
}

TEST(AtlasIndexHtml, EscapesTextsAndPaths) {
  const AtlasIndexTaxon hostile =
      Taxon("<script>alert(\"x&y\")</script>'", "a&b", 1, 1, 2000, 2000, "a b\"c");
  const AtlasIndexPage page{"<b>Atlas</b>",
                            {"\"MTB\""},
                            {hostile},
                            {{"Vögel", "//evil.example/x.png", "http://evil.example/y.png"}}};
  const std::string html = AtlasIndexHtml(page);
  for (const char* text :
       {"<title>&lt;b&gt;Atlas&lt;/b&gt;</title>", "<h1>&lt;b&gt;Atlas&lt;/b&gt;</h1>",
        "<li>&quot;MTB&quot;</li>", "&lt;script&gt;alert(&quot;x&amp;y&quot;)&lt;/script&gt;&#39;",
        "<td>a&amp;b</td>", "href=\"maps/a%20b%22c.png\"", "src=\"thumbnails/a%20b%22c.png\"",
        "Artenzahl je Gruppe", "<html lang=\"de\">", "<meta charset=\"utf-8\">", "Name filtern"}) {
    EXPECT_NE(html.find(text), std::string::npos) << text;
  }
  EXPECT_EQ(html.find("<script>alert"), std::string::npos);
  for (const std::string& target : References(html)) {
    EXPECT_TRUE(target.find(':') == std::string::npos && !target.starts_with("/")) << target;
  }
}

}  // namespace
}  // namespace velmora
