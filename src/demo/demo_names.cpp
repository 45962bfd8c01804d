#include "demo/demo_names.h"

namespace velmora::demo {

namespace {

using T = NamedTaxon;
using S = std::string_view;

constexpr T kPlants[] = {
    {"Quercus robur", "Stiel-Eiche"},          {"Fagus sylvatica", "Rotbuche"},
    {"Anemone nemorosa", "Buschwindröschen"},  {"Orchis mascula", "Stattliches Knabenkraut"},
    {"Primula veris", "Echte Schlüsselblume"}, {"Arnica montana", "Arnika"},
    {"Caltha palustris", "Sumpf-Dotterblume"}, {"Digitalis purpurea", "Roter Fingerhut"},
    {"Galium odoratum", "Waldmeister"},        {"Pulsatilla vulgaris", "Gewöhnliche Kuhschelle"},
    {"Allium ursinum", "Bär-Lauch"},           {"Lilium martagon", "Türkenbund-Lilie"},
};
constexpr S kPlantGenera[] = {"Carex",  "Ranunculus", "Veronica", "Viola",    "Hieracium",
                              "Juncus", "Potentilla", "Festuca",  "Trifolium"};
constexpr T kBirds[] = {
    {"Parus major", "Kohlmeise"},
    {"Erithacus rubecula", "Rotkehlchen"},
    {"Turdus merula", "Amsel"},
    {"Alcedo atthis", "Eisvogel"},
    {"Ciconia nigra", "Schwarzstorch"},
    {"Milvus milvus", "Rotmilan"},
    {"Dryocopus martius", "Schwarzspecht"},
    {"Lanius collurio", "Neuntöter"},
};
constexpr S kBirdGenera[] = {"Sylvia", "Phylloscopus", "Emberiza", "Anthus", "Motacilla"};
constexpr T kDragonflies[] = {
    {"Calopteryx splendens", "Gebänderte Prachtlibelle"},
    {"Calopteryx virgo", "Blauflügel-Prachtlibelle"},
    {"Anax imperator", "Große Königslibelle"},
    {"Aeshna cyanea", "Blaugrüne Mosaikjungfer"},
    {"Libellula depressa", "Plattbauch"},
    {"Coenagrion puella", "Hufeisen-Azurjungfer"},
    {"Cordulegaster boltonii", "Zweigestreifte Quelljungfer"},
};
constexpr S kDragonflyGenera[] = {"Sympetrum", "Lestes", "Orthetrum", "Somatochlora"};
constexpr T kButterflies[] = {
    {"Maniola jurtina", "Großes Ochsenauge"},     {"Aglais io", "Tagpfauenauge"},
    {"Papilio machaon", "Schwalbenschwanz"},      {"Gonepteryx rhamni", "Zitronenfalter"},
    {"Anthocharis cardamines", "Aurorafalter"},   {"Melanargia galathea", "Schachbrettfalter"},
    {"Polyommatus icarus", "Hauhechel-Bläuling"}, {"Lycaena phlaeas", "Kleiner Feuerfalter"},
};
constexpr S kButterflyGenera[] = {"Melitaea", "Erebia", "Coenonympha", "Pieris"};
constexpr T kBeetles[] = {
    {"Lucanus cervus", "Hirschkäfer"},
    {"Carabus auratus", "Goldlaufkäfer"},
    {"Coccinella septempunctata", "Siebenpunkt-Marienkäfer"},
    {"Cetonia aurata", "Gemeiner Rosenkäfer"},
    {"Melolontha melolontha", "Feld-Maikäfer"},
};
constexpr S kBeetleGenera[] = {"Carabus", "Cicindela", "Agonum", "Bembidion", "Amara"};
constexpr T kMosses[] = {
    {"Polytrichum commune", "Goldenes Frauenhaar"},
    {"Sphagnum palustre", "Sumpf-Torfmoos"},
    {"Hypnum cupressiforme", "Zypressen-Schlafmoos"},
    {"Leucobryum glaucum", "Weißmoos"},
};
constexpr S kMossGenera[] = {"Dicranum", "Bryum", "Brachythecium", "Plagiomnium"};
constexpr T kFungi[] = {
    {"Amanita muscaria", "Fliegenpilz"},
    {"Boletus edulis", "Steinpilz"},
    {"Cantharellus cibarius", "Pfifferling"},
    {"Macrolepiota procera", "Parasol"},
};
constexpr S kFungusGenera[] = {"Russula", "Lactarius", "Cortinarius", "Mycena"};
constexpr T kMammals[] = {
    {"Meles meles", "Dachs"},
    {"Castor fiber", "Biber"},
    {"Felis silvestris", "Wildkatze"},
    {"Muscardinus avellanarius", "Haselmaus"},
    {"Myotis myotis", "Großes Mausohr"},
    {"Lutra lutra", "Fischotter"},
};
constexpr S kMammalGenera[] = {"Myotis", "Sorex", "Microtus", "Pipistrellus"};
constexpr T kAmphibians[] = {
    {"Bufo bufo", "Erdkröte"},
    {"Rana temporaria", "Grasfrosch"},
    {"Salamandra salamandra", "Feuersalamander"},
    {"Triturus cristatus", "Kammmolch"},
    {"Hyla arborea", "Laubfrosch"},
    {"Bombina variegata", "Gelbbauchunke"},
};
constexpr S kAmphibianGenera[] = {"Rana", "Lissotriton", "Pelophylax"};
constexpr T kReptiles[] = {
    {"Lacerta agilis", "Zauneidechse"},    {"Podarcis muralis", "Mauereidechse"},
    {"Natrix natrix", "Ringelnatter"},     {"Coronella austriaca", "Schlingnatter"},
    {"Anguis fragilis", "Blindschleiche"},
};
constexpr S kReptileGenera[] = {"Lacerta", "Zootoca", "Natrix"};
constexpr T kGrasshoppers[] = {
    {"Chorthippus biguttulus", "Nachtigall-Grashüpfer"},
    {"Tettigonia viridissima", "Grünes Heupferd"},
    {"Oedipoda caerulescens", "Blauflügelige Ödlandschrecke"},
    {"Gryllus campestris", "Feldgrille"},
};
constexpr S kGrasshopperGenera[] = {"Chorthippus", "Metrioptera", "Stenobothrus"};
constexpr T kLichens[] = {
    {"Xanthoria parietina", "Gewöhnliche Gelbflechte"},
    {"Evernia prunastri", "Eichenmoos"},
    {"Parmelia sulcata", "Furchen-Schüsselflechte"},
};
constexpr S kLichenGenera[] = {"Cladonia", "Lecanora", "Physcia"};

constexpr GroupNames kGroups[] = {
    {"Gefäßpflanzen", 40, kPlants, kPlantGenera},
    {"Vögel", 14, kBirds, kBirdGenera},
    {"Libellen", 6, kDragonflies, kDragonflyGenera},
    {"Tagfalter", 8, kButterflies, kButterflyGenera},
    {"Käfer", 10, kBeetles, kBeetleGenera},
    {"Moose", 6, kMosses, kMossGenera},
    {"Pilze", 6, kFungi, kFungusGenera},
    {"Säugetiere", 3, kMammals, kMammalGenera},
    {"Amphibien", 2, kAmphibians, kAmphibianGenera},
    {"Reptilien", 2, kReptiles, kReptileGenera},
    {"Heuschrecken", 2, kGrasshoppers, kGrasshopperGenera},
    {"Flechten", 1, kLichens, kLichenGenera},
};

constexpr S kEpithets[] = {"sylvatica",  "palustris", "arvensis", "montana", "vulgaris",
                           "pratensis",  "minor",     "major",    "nigra",   "alba",
                           "hirsuta",    "elegans",   "fusca",    "viridis", "aquatica",
                           "campestris", "borealis",  "rufa",     "tenuis",  "lutea"};

constexpr S kSurveys[] = {
    "Floristische Kartierung Saarland",
    "Brutvogelkartierung Pfälzerwald",
    "Libellenmonitoring Bliesgau",
    "Tagfalter-Transekte Saar-Hunsrück",
    "Amphibienschutz an Straßen",
    "Biotopkartierung Rheinland-Pfalz",
    "Pilzkartierung Warndt",
    "Moosflora des Hunsrücks",
    "Käferfauna der Auwälder",
    "Fledermauszählung Winterquartiere",
    "Reptilien der Weinberge",
    "Heuschreckenerfassung Magerrasen",
};

constexpr S kPlaces[] = {"Saarbrücken", "Homburg",     "Zweibrücken", "Kaiserslautern",
                         "Pirmasens",   "St. Ingbert", "Blieskastel", "Neunkirchen",
                         "Landstuhl",   "Merzig",      "St. Wendel",  "Kusel",
                         "Völklingen",  "Dahn",        "Rodalben",    "Waldmohr"};

constexpr S kHabitats[] = {"Waldrand",         "Feuchtwiese", "Steinbruch",       "Bachaue",
                           "Halbtrockenrasen", "Weiher",      "Streuobstwiese",   "Buchenwald",
                           "Ortsrand",         "Kiesgrube",   "Hecke am Feldweg", "Bahndamm"};

}  // namespace

std::span<const GroupNames> TaxonGroupNames() { return kGroups; }
std::span<const std::string_view> Epithets() { return kEpithets; }
std::span<const std::string_view> SurveyNames() { return kSurveys; }
std::span<const std::string_view> PlaceNames() { return kPlaces; }
std::span<const std::string_view> HabitatNames() { return kHabitats; }

}  // namespace velmora::demo
