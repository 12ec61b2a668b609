#include "Catalogue.h"

#include "CourseCodes.h"
#include "Levels.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <tuple>

namespace sampledata {

namespace {

constexpr int FirstSubjectId = 111;
constexpr int FirstTeacherId = 111;
constexpr int FirstCurriculumId = 111;
// The room and template tables set no minimum of their own; room 0 would read as "no room".
constexpr int FirstRoomId = 1;
constexpr int FirstTemplateId = 1;

constexpr int NewestCurriculumYear = 2025;

// Template semesters as the course creation dialog offers them for filtering.
const std::vector<std::string> TemplateSemesters = {"2021/22/2", "2021/22/1", "2020/21/2", "2020/21/1",
                                                    "2019/20/2", "2019/20/1", "2018/19/2", "2018/19/1",
                                                    "2017/18/2", "2017/18/1", "Kereszt"};

const std::vector<std::string> TakeTypes = {"Kötelező", "Kötelezően választható", "Szabadon választható",
                                            "Nincs megadva"};

struct FinalWork
{
    const char *name;
    const char *tag; // stands where a subject number would, so the code does not qualify
    Level level;
    int practice;
    int credits;
};

const std::array<FinalWork, 3> FinalWorks = {{
    {"Szakdolgozat", "SZAKD", Level::Bachelor, 2, 15},
    {"Szakmai gyakorlat", "GYAKO", Level::Bachelor, 0, 30},
    {"Diplomamunka", "DIPLO", Level::Master, 2, 20},
}};

const char *roman(int part)
{
    static const std::array<const char *, 4> numerals = {"", "I", "II", "III"};
    return numerals[static_cast<std::size_t>(part)];
}

std::string threeDigits(int number)
{
    return std::string(1, char('0' + number / 100)) + char('0' + number / 10 % 10) + char('0' + number % 10);
}

int fieldWeight(Field field)
{
    switch (field) {
    case Field::Computing:
    case Field::Mechanical:
    case Field::Electrical:
        return 6;
    case Field::Mathematics:
    case Field::Physics:
    case Field::Environmental:
    case Field::Economics:
        return 4;
    case Field::Languages:
        return 2;
    case Field::Sport:
        return 1;
    }
    return 1;
}

// How strongly a curriculum of a programme draws subjects of a field.
int affinity(const Programme &programme, Field field, Level level)
{
    if (field == programme.field)
        return 8;
    if (field == programme.secondField)
        return 4;
    switch (field) {
    case Field::Mathematics:
        return 3;
    case Field::Physics:
    case Field::Languages:
        return 2;
    case Field::Sport:
        return level == Level::Bachelor ? 2 : 0;
    default:
        return 1;
    }
}

} // namespace

Catalogue::Catalogue(const Scale &scale, Random &random, Faculty &faculty)
    : scale_(scale), random_(random), faculty_(faculty)
{
}

void Catalogue::generate()
{
    makeDepartments();
    makeCurricula();
    makeSubjects();
    makeTeachers();
    makeRooms();
    linkCurriculumSubjects();
    makeTemplates();
}

void Catalogue::makeDepartments()
{
    static const std::string thirdLetters = "TGHMRKLNBVDSAPCFEJ";
    const std::array<Field, 9> fields = {Field::Computing,  Field::Mathematics, Field::Physics,
                                         Field::Mechanical, Field::Electrical,  Field::Environmental,
                                         Field::Economics,  Field::Languages,   Field::Sport};
    for (Field field : fields) {
        int count = scale_.departmentsPerField + (field == Field::Computing ? 1 : 0);
        if (field == Field::Languages || field == Field::Sport)
            count = std::max(1, scale_.departmentsPerField / 4);
        for (int i = 0; i < count; ++i) {
            Department department;
            department.prefix = departmentFamily(field) + std::string(1, thirdLetters.at(std::size_t(i)));
            department.field = field;
            department.lastNumber = random_.between(100, 130);
            department.topicCursor = std::size_t(random_.below(8));
            department.part = 1;
            departments_.push_back(department);
        }
    }
}

void Catalogue::makeCurricula()
{
    struct Choice
    {
        int programme;
        Level level;
        bool correspondence;
        bool english;
        int year;
        auto key() const { return std::tuple(programme, int(level), correspondence, english, year); }
    };
    std::vector<Choice> choices;
    for (int p = 0; p < scale_.programmes; ++p) {
        const Programme &programme = Vocabulary::programmes.at(std::size_t(p));
        for (const char *letter = programme.levels; *letter; ++letter) {
            const Level level = levelOfLetter(*letter);
            const bool englishOffered = (level == Level::Bachelor || level == Level::Master) &&
                                        programme.field != Field::Environmental;
            for (int year = NewestCurriculumYear - scale_.curriculumYears + 1; year <= NewestCurriculumYear;
                 ++year) {
                if (level != Level::Postgraduate)
                    choices.push_back({p, level, false, false, year});
                if (level != Level::Doctoral)
                    choices.push_back({p, level, true, false, year});
                if (englishOffered)
                    choices.push_back({p, level, false, true, year});
            }
        }
    }
    // Most students are full-time and Hungarian-speaking; the other kinds of curricula are fewer.
    std::vector<int> weights;
    for (const Choice &choice : choices)
        weights.push_back(choice.correspondence ? 2 : choice.english ? 1 : 6);
    choices = random_.sample(choices, weights, std::size_t(scale_.curricula));
    std::sort(choices.begin(), choices.end(),
              [](const Choice &a, const Choice &b) { return a.key() < b.key(); });

    for (const Choice &choice : choices) {
        const Programme &programme = Vocabulary::programmes[std::size_t(choice.programme)];
        const LevelTraits &traits = traitsOf(choice.level);
        Curriculum curriculum;
        curriculum.mintatanterv_id = FirstCurriculumId + int(faculty_.curricula.size());
        curriculum.mintatanterv_kod = std::string(programme.code) + "-" + traits.code + "-" +
                                      (choice.correspondence ? "L" : "N") + (choice.english ? "-A" : "") +
                                      "-" + std::to_string(choice.year % 100);
        curriculum.mintatanterv_nev = choice.english
                                          ? std::string(programme.english) + " " + traits.shortName +
                                                " full-time " + std::to_string(choice.year)
                                          : std::string(programme.hungarian) + " " + traits.shortName + " " +
                                                (choice.correspondence ? "levelező " : "nappali ") +
                                                std::to_string(choice.year);
        curriculum.tagozat = choice.correspondence ? "L" : "N";
        curriculum.tipus = traits.training;
        // The student information system stores a few levels under their longer official names.
        if (choice.english && choice.level == Level::Bachelor && random_.chance(50))
            curriculum.tipus = "Nemzetközi program képzése";
        if (choice.level == Level::Doctoral && random_.chance(30))
            curriculum.tipus = "Doktori képzés (PhD/DLA) (Nftv";
        curriculum.nyelv = choice.english ? "angol" : "magyar";
        curriculum.szabad = random_.chance(90) ? 1 : 0;
        curriculum.programme = choice.programme;
        curriculum.level = choice.level;
        curriculum.entryYear = choice.year;
        faculty_.curricula.push_back(curriculum);
    }
}

void Catalogue::makeSubjects()
{
    std::vector<int> levelWeights(AllLevels.size(), 0);
    std::vector<bool> englishWanted(AllLevels.size(), false);
    for (const Curriculum &curriculum : faculty_.curricula) {
        levelWeights[std::size_t(curriculum.level)] += 1;
        if (curriculum.nyelv == "angol")
            englishWanted[std::size_t(curriculum.level)] = true;
    }

    std::vector<int> departmentWeights;
    for (std::size_t d = 0; d < departments_.size(); ++d) {
        departmentWeights.push_back(fieldWeight(departments_[d].field));
        makeFinalWorkSubjects(d);
    }

    while (int(faculty_.subjects.size()) < scale_.subjects) {
        const std::size_t department = std::size_t(random_.weighted(departmentWeights));
        const Level level = AllLevels[std::size_t(random_.weighted(levelWeights))];
        const bool withTwin = englishWanted[std::size_t(level)] &&
                              int(faculty_.subjects.size()) + 1 < scale_.subjects &&
                              departments_[department].field != Field::Sport && random_.chance(30);
        makeTopicSubject(department, level, withTwin);
    }
}

void Catalogue::makeFinalWorkSubjects(std::size_t department)
{
    const Field field = departments_[department].field;
    if (field == Field::Languages || field == Field::Sport)
        return;
    for (const FinalWork &work : FinalWorks) {
        const bool wanted = std::any_of(faculty_.curricula.begin(), faculty_.curricula.end(),
                                        [&](const Curriculum &c) { return c.level == work.level; });
        if (!wanted)
            continue;
        Subject &subject = addSubject(department, work.level, 1);
        subject.targy_nev = work.name;
        subject.targy_kod = departments_[department].prefix + work.tag + traitsOf(work.level).letter;
        subject.targy_gy = work.practice;
        subject.targy_kredit = work.credits;
        subject.targy_teljesites = "Gyakorlati jegy";
    }
}

void Catalogue::makeTopicSubject(std::size_t department, Level level, bool withTwin)
{
    Department &owner = departments_[department];
    std::vector<std::size_t> fieldTopics;
    for (std::size_t t = 0; t < Vocabulary::topics.size(); ++t)
        if (Vocabulary::topics[t].field == owner.field)
            fieldTopics.push_back(t);
    const Topic &topic = Vocabulary::topics[fieldTopics[owner.topicCursor % fieldTopics.size()]];
    const int part = owner.part;
    if (++owner.part > topic.parts) {
        owner.part = 1;
        ++owner.topicCursor;
    }
    owner.lastNumber += random_.between(1, 6);
    if (owner.lastNumber > 999)
        throw std::runtime_error("department " + owner.prefix + " ran out of subject numbers");
    const std::string number = threeDigits(owner.lastNumber);
    const std::string series = topic.parts > 1 ? std::string(" ") + roman(part) : std::string();
    const bool doctoral = level == Level::Doctoral;

    const std::size_t index = faculty_.subjects.size();
    {
        Subject &subject = addSubject(department, level, part);
        subject.targy_nev = (doctoral ? "Doktori szeminárium: " : "") + std::string(topic.hungarian) + series;
        subject.targy_kod = owner.prefix + number + "MN" + traitsOf(level).letter;
        giveHours(subject, owner.field);
    }
    if (!withTwin)
        return;
    Subject twin = faculty_.subjects[index];
    twin.targy_id = FirstSubjectId + int(faculty_.subjects.size());
    twin.targy_nev = (doctoral ? "Doctoral Seminar: " : "") + std::string(topic.english) + series;
    twin.targy_kod = owner.prefix + number + "AN" + traitsOf(level).letter + "A";
    twin.english = true;
    twin.twin = faculty_.subjects[index].targy_id;
    faculty_.subjects[index].twin = twin.targy_id;
    faculty_.subjects.push_back(twin);
}

Subject &Catalogue::addSubject(std::size_t department, Level level, int part)
{
    Subject subject;
    subject.targy_id = FirstSubjectId + int(faculty_.subjects.size());
    subject.tanszek_id = int(department) + 1;
    subject.szabad = random_.chance(95) ? 1 : 0;
    subject.evjarat = random_.chance(80) ? 0 : random_.between(2022, 2025);
    subject.level = level;
    subject.department = int(department);
    subject.field = departments_[department].field;
    subject.part = part;
    faculty_.subjects.push_back(subject);
    return faculty_.subjects.back();
}

void Catalogue::giveHours(Subject &subject, Field field)
{
    int lecture = 2, practice = 0, lab = 0;
    switch (field) {
    case Field::Mathematics:
        lecture = random_.chance(15) ? 3 : 2;
        practice = 2;
        break;
    case Field::Physics:
        practice = random_.between(1, 2);
        lab = random_.chance(40) ? 2 : 0;
        break;
    case Field::Computing:
        practice = random_.chance(50) ? 2 : 0;
        lab = practice == 0 || random_.chance(30) ? 2 : 0;
        break;
    case Field::Electrical:
        practice = random_.chance(40) ? 1 : 0;
        lab = random_.between(1, 2);
        break;
    case Field::Mechanical:
        practice = random_.between(1, 2);
        lab = random_.chance(30) ? 1 : 0;
        break;
    case Field::Environmental:
        practice = 1;
        lab = random_.chance(40) ? 2 : 0;
        break;
    case Field::Economics:
        practice = random_.between(1, 2);
        break;
    case Field::Languages:
        lecture = 0;
        practice = random_.between(2, 4);
        break;
    case Field::Sport:
        lecture = 0;
        practice = 2;
        break;
    }
    if (practice > 0 && random_.chance(scale_.extraHourPercent))
        ++practice;
    if (lab > 0 && random_.chance(scale_.extraHourPercent))
        ++lab;
    if (subject.level == Level::Doctoral) {
        lecture = 2;
        practice = lab = 0;
    }
    subject.targy_ea = lecture;
    subject.targy_gy = practice;
    subject.targy_la = lab;
    if (field == Field::Sport) {
        subject.targy_kredit = 0;
        subject.targy_teljesites = "Aláírás";
        return;
    }
    subject.targy_kredit = std::clamp(lecture + practice + lab + random_.between(0, 2), 2, 8);
    static const std::vector<std::string> examined = {"Kollokvium", "Szigorlat", "Gyakorlati jegy"};
    static const std::vector<std::string> practical = {"Gyakorlati jegy", "Aláírás"};
    subject.targy_teljesites = lecture > 0 ? examined[std::size_t(random_.weighted({80, 8, 12}))]
                                           : practical[std::size_t(random_.weighted({80, 20}))];
}

void Catalogue::makeTeachers()
{
    std::vector<int> weights(departments_.size(), 0);
    for (const Subject &subject : faculty_.subjects)
        weights[std::size_t(subject.department)] += 1;

    const int perDepartment = scale_.teachers >= 2 * int(departments_.size()) ? 2 : 1;
    for (int i = 0; i < scale_.teachers; ++i) {
        const int department = i < perDepartment * int(departments_.size()) ? i % int(departments_.size())
                                                                            : random_.weighted(weights);
        Teacher teacher;
        teacher.oktato_id = FirstTeacherId + i;
        teacher.oktato_kkod = newTeacherCode();
        teacher.oktato_nev = newTeacherName();
        teacher.department = department;
        departments_[std::size_t(department)].teachers.push_back(i);
        faculty_.teachers.push_back(teacher);
    }
}

std::string Catalogue::newTeacherName()
{
    for (;;) {
        const bool female = random_.chance(45);
        const std::vector<std::string> &given = female ? Vocabulary::femaleNames : Vocabulary::maleNames;
        // One draw per statement: the order in which operands are evaluated differs by compiler.
        std::string name = random_.pick(Vocabulary::familyNames);
        name += " " + random_.pick(given);
        if (random_.chance(12)) {
            const std::string second = random_.pick(given);
            if (name.find(second) == std::string::npos)
                name += " " + second;
        }
        // A married woman's name: her husband's family name with "né", then her own name.
        if (female && random_.chance(15))
            name = random_.pick(Vocabulary::familyNames) + "né " + name;
        if (random_.chance(40))
            name = "Dr. " + name;
        if (teacherNames_.insert(name).second)
            return name;
    }
}

std::string Catalogue::newTeacherCode()
{
    static const std::string letters = "ABCDEFGHIJKLMNPQRSTUVWXYZ";
    static const std::string symbols = "ABCDEFGHIJKLMNPQRSTUVWXYZ0123456789";
    // Guest teachers have no code in the student information system, or a placeholder with a dot.
    if (random_.chance(3))
        return {};
    const bool placeholder = random_.chance(2);
    for (;;) {
        std::string code(1, placeholder ? '.' : letters[std::size_t(random_.below(int(letters.size())))]);
        while (code.size() < 6)
            code += placeholder ? letters[std::size_t(random_.below(int(letters.size())))]
                                : symbols[std::size_t(random_.below(int(symbols.size())))];
        if (teacherCodes_.insert(code).second)
            return code;
    }
}

void Catalogue::makeRooms()
{
    const int buildings = std::clamp((scale_.rooms + 24) / 25, 3, 26);
    std::vector<std::string> addresses;
    for (int s = 0; s < scale_.sites; ++s)
        addresses.push_back(Vocabulary::sites.at(std::size_t(s)) + ", " +
                            Vocabulary::streets[std::size_t(s * 3) % Vocabulary::streets.size()] + " " +
                            std::to_string(1 + s * 7 % 20) + ".");

    // Per building and floor the last room number used, and the named halls given out.
    std::vector<std::array<int, 4>> lastNumber(std::size_t(buildings), {0, 0, 0, 0});
    std::vector<std::set<std::string>> hallNames(static_cast<std::size_t>(buildings));
    static const std::vector<std::string> halls = {"Aula", "Nagyelőadó", "Kiselőadó", "Díszterem"};

    for (int i = 0; i < scale_.rooms; ++i) {
        const int building = i % buildings;
        Room room;
        room.terem_id = FirstRoomId + i;
        room.kind = static_cast<RoomKind>(random_.weighted({10, 44, 25, 21}));
        switch (room.kind) {
        case RoomKind::Hall:
            room.terem_kapacitas = 10 * random_.between(8, 30);
            break;
        case RoomKind::Seminar:
            room.terem_kapacitas = 2 * random_.between(10, 24);
            break;
        case RoomKind::ComputerLab:
            room.terem_kapacitas = 2 * random_.between(8, 16);
            break;
        case RoomKind::Laboratory:
            room.terem_kapacitas = 2 * random_.between(6, 12);
            break;
        }
        room.terem_hely = std::string(1, char('A' + building));
        const std::string hall = random_.pick(halls);
        if (room.kind == RoomKind::Hall && random_.chance(40) &&
            hallNames[std::size_t(building)].insert(hall).second) {
            room.terem_kod = hall;
        } else {
            const int floor = random_.below(4);
            int &last = lastNumber[std::size_t(building)][std::size_t(floor)];
            last += random_.between(1, 3);
            room.terem_kod = threeDigits(floor * 100 + last);
        }
        room.terem_telephely = addresses[std::size_t(building * scale_.sites / buildings)];
        faculty_.rooms.push_back(room);
    }
}

void Catalogue::linkCurriculumSubjects()
{
    for (const Curriculum &curriculum : faculty_.curricula) {
        const Programme &programme = Vocabulary::programmes[std::size_t(curriculum.programme)];
        const bool english = curriculum.nyelv == "angol";
        std::vector<std::size_t> pool;
        std::vector<int> weights;
        for (std::size_t s = 0; s < faculty_.subjects.size(); ++s) {
            const Subject &subject = faculty_.subjects[s];
            if (subject.level != curriculum.level || subject.english != english)
                continue;
            const int weight = affinity(programme, subject.field, curriculum.level);
            if (weight > 0) {
                pool.push_back(s);
                weights.push_back(weight);
            }
        }

        const int wanted = scale_.subjectsPerCurriculum * random_.between(80, 120) / 100;
        std::vector<std::size_t> chosen = random_.sample(pool, weights, std::size_t(wanted));
        std::stable_sort(chosen.begin(), chosen.end(), [&](std::size_t a, std::size_t b) {
            return faculty_.subjects[a].part < faculty_.subjects[b].part;
        });

        const int semesters = traitsOf(curriculum.level).semesters;
        for (std::size_t i = 0; i < chosen.size(); ++i) {
            CurriculumSubject link;
            link.mintatanterv_id = curriculum.mintatanterv_id;
            link.targy_id = faculty_.subjects[chosen[i]].targy_id;
            link.targy_felveteltipus = TakeTypes[std::size_t(random_.weighted({65, 15, 12, 8}))];
            link.semester = 1 + int(i) * semesters / int(chosen.size());
            faculty_.curriculumSubjects.push_back(link);
        }
    }
}

void Catalogue::makeTemplates()
{
    CourseNumbering numbering;
    for (const Subject &subject : faculty_.subjects) {
        if (!random_.chance(scale_.templateSubjectPercent))
            continue;
        std::vector<std::string> semesters = TemplateSemesters;
        random_.shuffle(semesters);
        semesters.resize(std::size_t(random_.between(1, scale_.templateSemesters)));

        const std::string code = courseCodeOf(subject.targy_kod);
        for (const std::string &semester : semesters) {
            const std::array<std::pair<const char *, int>, 3> types = {
                {{"EA", subject.targy_ea > 0 ? 1 : 0},
                 {"GY", subject.targy_gy > 0 ? random_.between(1, 3) : 0},
                 {"LA", subject.targy_la > 0 ? random_.between(1, 2) : 0}}};
            for (const auto &[type, groups] : types) {
                for (int group = 0; group < groups; ++group) {
                    const std::optional<std::string> number = numbering.take(code + "\t" + semester, type);
                    if (!number)
                        break;
                    Template entry;
                    entry.kurzusminta_id = FirstTemplateId + int(faculty_.templates.size());
                    entry.kurzusminta_kod = code + "-" + type + "-" + *number;
                    entry.kurzusminta_tipus = type;
                    entry.targy_id = subject.targy_id;
                    entry.felev = semester;
                    if (random_.chance(25))
                        entry.orarendiinfo = random_.pick(Vocabulary::templateNotes);
                    entry.atargykod = subject.targy_kod;
                    faculty_.templates.push_back(entry);

                    if (random_.chance(95))
                        faculty_.templateSubjects.push_back({entry.kurzusminta_id, subject.targy_id});
                    if (subject.twin != 0 && random_.chance(30))
                        faculty_.templateSubjects.push_back({entry.kurzusminta_id, subject.twin});
                    for (int teacher : someTeachersOf(subject, random_.weighted({20, 70, 10})))
                        faculty_.templateTeachers.push_back(
                            {entry.kurzusminta_id, faculty_.teachers[std::size_t(teacher)].oktato_id});
                }
            }
        }
    }
}

std::vector<int> Catalogue::someTeachersOf(const Subject &subject, int count)
{
    std::vector<int> staff = departments_[std::size_t(subject.department)].teachers;
    random_.shuffle(staff);
    staff.resize(std::min(staff.size(), std::size_t(count)));
    return staff;
}

} // namespace sampledata
