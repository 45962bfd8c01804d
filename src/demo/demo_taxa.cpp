#include "demo/demo_taxa.h"

#include "demo/batch_inserter.h"
#include "demo/demo_keys.h"
#include "demo/demo_names.h"

namespace velmora::demo {

namespace {

// The dictionary's own site id, as the host's taxon dictionary carries it.
constexpr const char* kDictionarySite = "NHMSYS00";
constexpr const char* kScientificList = "NHMSYS0000000001";
constexpr const char* kGermanList = "NHMSYS0000000002";

const GroupNames& NamesOf(int group) {
  const auto all = TaxonGroupNames();
  return all[group % all.size()];
}

std::string GroupName(int group) {
  const auto count = static_cast<int>(TaxonGroupNames().size());
  std::string name(NamesOf(group).name);
  if (group >= count) name += " " + std::to_string(group / count + 1);
  return name;
}

int PickGroup(int groups, DemoRandom& random) {
  int total = 0;
  for (int g = 0; g < groups; ++g) total += NamesOf(g).weight;
  int pick = random.Below(total);
  for (int g = 0; g < groups; ++g) {
    pick -= NamesOf(g).weight;
    if (pick < 0) return g;
  }
  return groups - 1;
}

struct TaxonNames {
  std::string scientific;
  std::string german;  // empty when the taxon has none
  std::string synonym;
};

// The k-th taxon of a group: a real one while they last, then genus and
// epithet combined, then subspecies of those.
TaxonNames NamesOfTaxon(int group, int k) {
  const GroupNames& names = NamesOf(group);
  const auto real = static_cast<int>(names.taxa.size());
  const auto genera = static_cast<int>(names.genera.size());
  const auto epithets = Epithets();
  TaxonNames result;
  std::string epithet;
  if (k < real) {
    result.scientific = names.taxa[k].scientific;
    result.german = names.taxa[k].german;
    epithet = result.scientific.substr(result.scientific.find(' ') + 1);
  } else {
    const int n = k - real;
    const int combinations = genera * static_cast<int>(epithets.size());
    epithet = epithets[(n / genera) % epithets.size()];
    result.scientific = std::string(names.genera[n % genera]) + " " + epithet;
    if (n >= combinations) {
      result.scientific += " subsp. " + std::string(epithets[(n / combinations) % epithets.size()]);
    }
  }
  result.synonym = std::string(names.genera[k % genera]) + " " + epithet + " auct.";
  return result;
}

}  // namespace

DemoTaxonomy WriteTaxonomy(DatabaseSession& session, int groups, int taxa, DemoRandom& random) {
  DemoTaxonomy taxonomy;
  taxonomy.taxaOfGroup.resize(groups);
  KeySequence groupKeys(kDictionarySite), versionKeys(kDictionarySite), itemKeys(kDictionarySite);

  BatchInserter groupRows(session,
                          "INSERT INTO TAXON_GROUP (TAXON_GROUP_KEY, TAXON_GROUP_NAME, SORT_ORDER) "
                          "VALUES (?, ?, ?)");
  for (int g = 0; g < groups; ++g) {
    taxonomy.groupKeys.push_back(groupKeys.Next());
    groupRows.Add({taxonomy.groupKeys.back(), GroupName(g), std::to_string((g + 1) * 10)});
  }
  groupRows.Finish();

  BatchInserter versions(session,
                         "INSERT INTO TAXON_VERSION (TAXON_VERSION_KEY, OUTPUT_GROUP_KEY) "
                         "VALUES (?, NULLIF(?, ''))");
  BatchInserter items(session,
                      "INSERT INTO TAXON_LIST_ITEM (TAXON_LIST_ITEM_KEY, TAXON_VERSION_KEY, "
                      "TAXON_LIST_VERSION_KEY, PREFERRED_NAME) VALUES (?, ?, ?, ?)");
  BatchInserter index(session,
                      "INSERT INTO INDEX_TAXON_NAME (TAXON_LIST_ITEM_KEY, TAXON_LIST_VERSION_KEY, "
                      "RECOMMENDED_TAXON_LIST_ITEM_KEY, ACTUAL_NAME, PREFERRED_NAME) "
                      "VALUES (?, ?, ?, ?, ?)");
  for (int t = 0; t < taxa; ++t) {
    const int group = PickGroup(groups, random);
    const int k = static_cast<int>(taxonomy.taxaOfGroup[group].size());
    const TaxonNames names = NamesOfTaxon(group, k);
    // A few taxa sit in no output group; the count never finds them.
    const std::string groupKey = random.Chance(0.01) ? "" : taxonomy.groupKeys[group];
    DemoTaxon taxon{group, {}};
    const auto addItem = [&](const std::string& actualName, const char* list) {
      const std::string version = versionKeys.Next();
      const std::string item = itemKeys.Next();
      const std::string& recommended = taxon.listItemKeys.empty() ? item : taxon.listItemKeys[0];
      versions.Add({version, groupKey});
      items.Add({item, version, list, recommended});
      index.Add({item, list, recommended, actualName, names.scientific});
      taxon.listItemKeys.push_back(item);
    };
    addItem(names.scientific, kScientificList);
    if (t % 4 == 0) {
      addItem(names.synonym, kScientificList);
      if (!names.german.empty()) addItem(names.german, kGermanList);
    }
    taxonomy.taxaOfGroup[group].push_back(t);
    taxonomy.taxa.push_back(std::move(taxon));
  }
  versions.Finish();
  items.Finish();
  index.Finish();
  return taxonomy;
}

}  // namespace velmora::demo
