#include "Vocabulary.h"

namespace sampledata {

const std::vector<std::string> Vocabulary::familyNames = {
    "Nagy",    "Kovács",    "Tóth",      "Szabó",    "Horváth", "Varga",   "Kiss",     "Molnár",  "Németh",
    "Farkas",  "Balogh",    "Papp",      "Takács",   "Juhász",  "Lakatos", "Mészáros", "Oláh",    "Simon",
    "Rácz",    "Fekete",    "Szilágyi",  "Török",    "Fehér",   "Balázs",  "Gál",      "Kis",     "Szűcs",
    "Kocsis",  "Pintér",    "Fodor",     "Szalai",   "Sipos",   "Magyar",  "Lukács",   "Gulyás",  "Biró",
    "Király",  "László",    "Katona",    "Jakab",    "Bogdán",  "Sándor",  "Boros",    "Fazekas", "Kelemen",
    "Antal",   "Orbán",     "Somogyi",   "Vörös",    "Fülöp",   "Veres",   "Budai",    "Hegedűs", "Deák",
    "Bálint",  "Illés",     "Pál",       "Vincze",   "Szőke",   "Fábián",  "Vass",     "Benkő",   "Hajdu",
    "Lengyel", "Bencze",    "Csizmadia", "Soós",     "Halász",  "Máté",    "Kozma",    "Erdős",   "Pásztor",
    "Barta",   "Szekeres",  "Csonka",    "Dobos",    "Vida",    "Kun",     "Győri",    "Borbély", "Kardos",
    "Bognár",  "Gergely",   "Márton",    "Vadász",   "Lovász",  "Dudás",   "Kertész",  "Szénási", "Ágoston",
    "Cseh",    "Keresztes", "Vámos",     "Újvári",   "Bakos",   "Herczeg", "Szász",    "Mohácsi", "Béres",
    "Tamás",   "Nyári",     "Rozsnyai",  "Csáki",    "Ujhelyi", "Kalmár",  "Pataki",   "Sárközi", "Szedlák",
    "Ambrus",  "Hollósi",   "Tálas",     "Zsigmond",
};

const std::vector<std::string> Vocabulary::maleNames = {
    "László", "István", "József", "János",    "Zoltán",  "Sándor",   "Gábor",     "Ferenc",
    "Attila", "Péter",  "Tamás",  "Zsolt",    "Tibor",   "András",   "Csaba",     "Imre",
    "Lajos",  "György", "Balázs", "Gyula",    "Mihály",  "Károly",   "Róbert",    "Norbert",
    "Dávid",  "Ádám",   "Bence",  "Máté",     "Levente", "Dániel",   "Krisztián", "Gergő",
    "Márk",   "Miklós", "Árpád",  "Béla",     "Viktor",  "Szabolcs", "Roland",    "Richárd",
    "Ákos",   "Endre",  "Kornél", "Barnabás", "Olivér",  "Vilmos",   "Géza",      "Dezső",
};

const std::vector<std::string> Vocabulary::femaleNames = {
    "Mária",    "Erzsébet", "Katalin",  "Éva",       "Ilona",     "Anna",     "Zsuzsanna", "Margit",
    "Judit",    "Ágnes",    "Andrea",   "Erika",     "Krisztina", "Mónika",   "Edit",      "Gabriella",
    "Szilvia",  "Anita",    "Eszter",   "Tímea",     "Nikolett",  "Viktória", "Réka",      "Dóra",
    "Boglárka", "Petra",    "Orsolya",  "Zsófia",    "Rita",      "Beáta",    "Klára",     "Ildikó",
    "Noémi",    "Kinga",    "Adrienn",  "Melinda",   "Hajnalka",  "Emese",    "Csilla",    "Enikő",
    "Lilla",    "Flóra",    "Brigitta", "Henrietta", "Tünde",     "Piroska",  "Izabella",  "Veronika",
};

const std::vector<Topic> Vocabulary::topics = {
    {"Analízis", "Calculus", Field::Mathematics, 3},
    {"Lineáris algebra", "Linear Algebra", Field::Mathematics, 1},
    {"Diszkrét matematika", "Discrete Mathematics", Field::Mathematics, 2},
    {"Valószínűségszámítás és statisztika", "Probability and Statistics", Field::Mathematics, 1},
    {"Numerikus módszerek", "Numerical Methods", Field::Mathematics, 1},
    {"Operációkutatás", "Operations Research", Field::Mathematics, 1},
    {"Differenciálegyenletek", "Differential Equations", Field::Mathematics, 1},
    {"Gráfelmélet", "Graph Theory", Field::Mathematics, 1},
    {"Fizika", "Physics", Field::Physics, 2},
    {"Optika", "Optics", Field::Physics, 1},
    {"Kvantumfizika", "Quantum Physics", Field::Physics, 1},
    {"Hőtan", "Thermodynamics", Field::Physics, 1},
    {"Anyagszerkezettan", "Structure of Matter", Field::Physics, 1},
    {"Méréstechnika", "Measurement Technology", Field::Physics, 2},
    {"Programozás", "Programming", Field::Computing, 3},
    {"Objektumorientált programozás", "Object-Oriented Programming", Field::Computing, 1},
    {"Adatbázis-rendszerek", "Database Systems", Field::Computing, 2},
    {"Algoritmusok és adatszerkezetek", "Algorithms and Data Structures", Field::Computing, 2},
    {"Operációs rendszerek", "Operating Systems", Field::Computing, 1},
    {"Számítógép-hálózatok", "Computer Networks", Field::Computing, 2},
    {"Szoftvertechnológia", "Software Engineering", Field::Computing, 1},
    {"Webprogramozás", "Web Programming", Field::Computing, 1},
    {"Mesterséges intelligencia", "Artificial Intelligence", Field::Computing, 1},
    {"Gépi tanulás", "Machine Learning", Field::Computing, 1},
    {"Információbiztonság", "Information Security", Field::Computing, 1},
    {"Számítógépes grafika", "Computer Graphics", Field::Computing, 1},
    {"Képfeldolgozás", "Image Processing", Field::Computing, 1},
    {"Mobil alkalmazások fejlesztése", "Mobile Application Development", Field::Computing, 1},
    {"Felhőalapú rendszerek", "Cloud Computing", Field::Computing, 1},
    {"Elosztott rendszerek", "Distributed Systems", Field::Computing, 1},
    {"Adatbányászat", "Data Mining", Field::Computing, 1},
    {"Szoftvertesztelés", "Software Testing", Field::Computing, 1},
    {"Rendszerfejlesztés", "Systems Development", Field::Computing, 1},
    {"Informatikai rendszerek üzemeltetése", "IT Operations", Field::Computing, 1},
    {"Számítógép-architektúrák", "Computer Architectures", Field::Computing, 1},
    {"Formális nyelvek és automaták", "Formal Languages and Automata", Field::Computing, 1},
    {"Digitális technika", "Digital Systems", Field::Electrical, 2},
    {"Elektrotechnika", "Electrical Engineering", Field::Electrical, 2},
    {"Elektronika", "Electronics", Field::Electrical, 2},
    {"Jelek és rendszerek", "Signals and Systems", Field::Electrical, 1},
    {"Irányítástechnika", "Control Engineering", Field::Electrical, 2},
    {"Beágyazott rendszerek", "Embedded Systems", Field::Electrical, 1},
    {"Mikrovezérlők programozása", "Microcontroller Programming", Field::Electrical, 1},
    {"Villamos gépek", "Electrical Machines", Field::Electrical, 1},
    {"Villamosenergia-rendszerek", "Power Systems", Field::Electrical, 1},
    {"Telekommunikáció", "Telecommunications", Field::Electrical, 1},
    {"Szenzorok és aktuátorok", "Sensors and Actuators", Field::Electrical, 1},
    {"Teljesítményelektronika", "Power Electronics", Field::Electrical, 1},
    {"Statika", "Statics", Field::Mechanical, 1},
    {"Szilárdságtan", "Strength of Materials", Field::Mechanical, 1},
    {"Dinamika", "Dynamics", Field::Mechanical, 1},
    {"Anyagtudomány", "Materials Science", Field::Mechanical, 1},
    {"Gépelemek", "Machine Elements", Field::Mechanical, 2},
    {"Műszaki ábrázolás", "Technical Drawing", Field::Mechanical, 2},
    {"CAD alapjai", "Fundamentals of CAD", Field::Mechanical, 1},
    {"Áramlástan", "Fluid Mechanics", Field::Mechanical, 1},
    {"Gyártástechnológia", "Manufacturing Technology", Field::Mechanical, 2},
    {"Robotika", "Robotics", Field::Mechanical, 1},
    {"Mechatronika", "Mechatronics", Field::Mechanical, 1},
    {"Hajtástechnika", "Drive Systems", Field::Mechanical, 1},
    {"Járműtechnika", "Vehicle Engineering", Field::Mechanical, 1},
    {"Belsőégésű motorok", "Internal Combustion Engines", Field::Mechanical, 1},
    {"Hegesztéstechnika", "Welding Technology", Field::Mechanical, 1},
    {"Polimer anyagok", "Polymer Materials", Field::Mechanical, 1},
    {"Ergonómia", "Ergonomics", Field::Mechanical, 1},
    {"Környezetvédelem", "Environmental Protection", Field::Environmental, 1},
    {"Vízgazdálkodás", "Water Management", Field::Environmental, 1},
    {"Hulladékgazdálkodás", "Waste Management", Field::Environmental, 1},
    {"Energetika", "Energy Systems", Field::Environmental, 1},
    {"Megújuló energiaforrások", "Renewable Energy Sources", Field::Environmental, 1},
    {"Kémia", "Chemistry", Field::Environmental, 2},
    {"Geodézia", "Surveying", Field::Environmental, 1},
    {"Térinformatika", "Geographic Information Systems", Field::Environmental, 1},
    {"Talajmechanika", "Soil Mechanics", Field::Environmental, 1},
    {"Levegőtisztaság-védelem", "Air Quality Protection", Field::Environmental, 1},
    {"Munkavédelem", "Occupational Safety", Field::Environmental, 1},
    {"Mikroökonómia", "Microeconomics", Field::Economics, 1},
    {"Makroökonómia", "Macroeconomics", Field::Economics, 1},
    {"Vállalatgazdaságtan", "Business Economics", Field::Economics, 1},
    {"Számvitel", "Accounting", Field::Economics, 2},
    {"Pénzügyek", "Finance", Field::Economics, 1},
    {"Marketing", "Marketing", Field::Economics, 1},
    {"Menedzsment", "Management", Field::Economics, 1},
    {"Projektmenedzsment", "Project Management", Field::Economics, 1},
    {"Minőségmenedzsment", "Quality Management", Field::Economics, 1},
    {"Logisztika", "Logistics", Field::Economics, 2},
    {"Ellátásilánc-menedzsment", "Supply Chain Management", Field::Economics, 1},
    {"Jogi ismeretek", "Law for Engineers", Field::Economics, 1},
    {"Innováció és vállalkozás", "Innovation and Entrepreneurship", Field::Economics, 1},
    {"Emberierőforrás-menedzsment", "Human Resource Management", Field::Economics, 1},
    {"Szakmai angol", "Technical English", Field::Languages, 2},
    {"Szakmai német", "Technical German", Field::Languages, 2},
    {"Műszaki kommunikáció", "Technical Communication", Field::Languages, 1},
    {"Magyar nyelv", "Hungarian Language", Field::Languages, 2},
    {"Kutatásmódszertan", "Research Methodology", Field::Languages, 1},
    {"Tudományos írás", "Scientific Writing", Field::Languages, 1},
    {"Testnevelés", "Physical Education", Field::Sport, 2},
    {"Sportjáték", "Team Sports", Field::Sport, 1},
};

const std::vector<Programme> Vocabulary::programmes = {
    {"MI", "Mérnökinformatikus", "Computer Engineering", Field::Computing, Field::Electrical, "BMF"},
    {"PTI", "Programtervező informatikus", "Computer Science", Field::Computing, Field::Mathematics, "BMD"},
    {"GI", "Gazdaságinformatikus", "Business Informatics", Field::Computing, Field::Economics, "BMF"},
    {"VM", "Villamosmérnök", "Electrical Engineering", Field::Electrical, Field::Physics, "BMF"},
    {"GM", "Gépészmérnök", "Mechanical Engineering", Field::Mechanical, Field::Physics, "BMFD"},
    {"MEM", "Mechatronikai mérnök", "Mechatronics Engineering", Field::Mechanical, Field::Electrical, "BM"},
    {"KM", "Környezetmérnök", "Environmental Engineering", Field::Environmental, Field::Physics, "BM"},
    {"MM", "Műszaki menedzser", "Engineering Management", Field::Economics, Field::Mechanical, "BM"},
    {"AM", "Anyagmérnök", "Materials Engineering", Field::Mechanical, Field::Physics, "BM"},
    {"LM", "Logisztikai mérnök", "Logistics Engineering", Field::Economics, Field::Mechanical, "BM"},
    {"EM", "Energetikai mérnök", "Energy Engineering", Field::Environmental, Field::Electrical, "BM"},
    {"JM", "Járműmérnök", "Vehicle Engineering", Field::Mechanical, Field::Electrical, "B"},
    {"IFM", "Ipari formatervező mérnök", "Industrial Design Engineering", Field::Mechanical, Field::Economics,
     "B"},
    {"ADT", "Adattudomány", "Data Science", Field::Computing, Field::Mathematics, "M"},
    {"KBM", "Kiberbiztonsági mérnök", "Cybersecurity Engineering", Field::Computing, Field::Electrical, "MT"},
    {"FIZ", "Fizikus", "Physics", Field::Physics, Field::Mathematics, "BMD"},
    {"AMA", "Alkalmazott matematikus", "Applied Mathematics", Field::Mathematics, Field::Computing, "BO"},
    {"EPM", "Építőmérnök", "Civil Engineering", Field::Environmental, Field::Mechanical, "BM"},
    {"MGM", "Mezőgazdasági gépészmérnök", "Agricultural Engineering", Field::Mechanical, Field::Environmental,
     "B"},
    {"GAM", "Gazdálkodás és menedzsment", "Business Administration", Field::Economics, Field::Languages, "B"},
};

const std::vector<std::string> Vocabulary::streets = {
    "Egyetem tér",   "Tudás utca", "Műhely utca", "Nádas utca", "Kőfaragó utca",
    "Gyárkert utca", "Hársfa sor", "Malom utca",  "Vasöntő út", "Partos utca",
};

const std::vector<std::string> Vocabulary::sites = {"Kelmendor", "Tölgyespart", "Nádormező", "Szirtesvár"};

const std::vector<std::string> Vocabulary::courseRemarks = {
    "Számítógépes teremben",
    "Ismétlő kurzus",
    "Csak ismétlőknek",
    "Angol nyelvű csoport",
    "50% online, 50% jelenléti",
    "Az első héten elmarad.\nPótlás a 8. héten.",
    "Laborbeosztás a tanszéki honlapon",
    "Vendégoktatóval",
    "Zárthelyi dolgozat a 7. héten",
    "Terembeosztás egyeztetés alatt",
};

const std::vector<std::string> Vocabulary::templateNotes = {
    "Számítógépes labor szükséges", "Projektoros terem", "Páros heteken", "Blokkosítva a félév első felében",
    "Csak levelező tagozatnak",     "Angol nyelven",     "Max. 16 fő",    "Tanszéki laborban",
};

const std::vector<std::string> Vocabulary::timetableRemarks = {
    "2025/26 őszi félév",
    "Kari Tanács által jóváhagyva",
    "Tervezet",
    "Módosítás alatt",
};

const std::vector<Vocabulary::Event> Vocabulary::events = {
    {"KARI-TANACS", "Kari Tanács ülése", "Zárt ülés"},
    {"ZARO-VIZSGA", "Záróvizsga", "Bizottság: 3 fő\nA jelöltek névsora a tanszéken"},
    {"NYILT-NAP", "Nyílt nap", "A terem 100%-ban foglalt"},
    {"TDK-KONF", "Tudományos diákköri konferencia", ""},
    {"TANSZEKI-ERT", "Tanszékvezetői értekezlet", ""},
    {"GOLYA-INFO", "Gólyatájékoztató", "Elsőéveseknek"},
    {"DIPLOMA-PROBA", "Diplomaosztó főpróba", ""},
    {"ALLASBORZE", "Kari állásbörze", "Kiállítók a földszinten"},
};

const char *departmentFamily(Field field)
{
    // Codes of the first six families tell the export their language; the last three do not.
    switch (field) {
    case Field::Computing:
        return "SZ";
    case Field::Mathematics:
        return "ID";
    case Field::Physics:
        return "IV";
    case Field::Mechanical:
        return "MS";
    case Field::Electrical:
        return "EP";
    case Field::Environmental:
        return "KT";
    case Field::Economics:
        return "PM";
    case Field::Languages:
        return "NY";
    case Field::Sport:
        return "TS";
    }
    return "XX";
}

} // namespace sampledata
