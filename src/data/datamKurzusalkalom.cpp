// Regeneration of the course-occasion links: every course gets its own occasions, and a course
// linked to another one gets that course's occasions too.

#include "data/datam.h"

#include "data/Progress.h"

#include <set>
#include <utility>

namespace {

using CourseOccasion = std::pair<int, int>;

int idOf(const TDataSet &table, const char *fieldName) { return table.FieldByName(fieldName)->AsInteger(); }

} // namespace

void TDM::KurzusalkalomGeneralas()
{
    // The walk moves the main window's current course and must see every course; both are put
    // back afterwards so the window goes on where it was.
    const bool courseFilterWasOn = MT_kurzus.Filtered();
    const TBookmark currentCourse = MT_kurzus.GetBookmark();
    MT_kurzus.SetFiltered(false);
    for (TztrMemTable *table : {&MT_kurzus_csatolt, &MT_alkalom_kurzus, &MT_alkalom_kurzus2, &MT_kurzusalkalom})
        table->SetFiltered(false);
    MT_alkalom_kurzus.Open();
    MT_alkalom_kurzus2.Open();

    Progress &progress = currentProgress();
    progress.start(MT_kurzus.RecordCount(), "Generálás");
    auto restoreCourse = [&] {
        progress.finish();
        MT_kurzus.SetFiltered(courseFilterWasOn);
        if (!currentCourse.empty() && MT_kurzus.BookmarkValid(currentCourse))
            MT_kurzus.GotoBookmark(currentCourse);
    };
    try {
        std::set<CourseOccasion> current;
        auto link = [&](int courseId, int occasionId) {
            current.emplace(courseId, occasionId);
            KurzusalkalomFelvetel(courseId, occasionId);
        };
        for (MT_kurzus.First(); !MT_kurzus.Eof(); MT_kurzus.Next()) {
            progress.step();
            const int courseId = idOf(MT_kurzus, "kurzus_id");
            for (MT_alkalom_kurzus.First(); !MT_alkalom_kurzus.Eof(); MT_alkalom_kurzus.Next())
                link(courseId, idOf(MT_alkalom_kurzus, "alkalom_id"));
            for (MT_kurzus_csatolt.First(); !MT_kurzus_csatolt.Eof(); MT_kurzus_csatolt.Next()) {
                const int linkedCourseId = idOf(MT_kurzus_csatolt, "kurzus_id");
                for (MT_alkalom_kurzus2.First(); !MT_alkalom_kurzus2.Eof(); MT_alkalom_kurzus2.Next())
                    link(linkedCourseId, idOf(MT_alkalom_kurzus2, "alkalom_id"));
            }
        }
        // Links of occasions deleted or moved since the last run would be saved and copied on
        // as if they still held.
        for (MT_kurzusalkalom.First(); !MT_kurzusalkalom.Eof();) {
            if (current.count({idOf(MT_kurzusalkalom, "kurzus_id"), idOf(MT_kurzusalkalom, "alkalom_id")}))
                MT_kurzusalkalom.Next();
            else
                MT_kurzusalkalom.Delete();
        }
    } catch (...) {
        restoreCourse();
        throw;
    }
    restoreCourse();
}

void TDM::KurzusalkalomFelvetel(int kurzusId, int alkalomId)
{
    if (MT_kurzusalkalom.Locate("kurzus_id;alkalom_id", VarArrayOf({kurzusId, alkalomId}), {}))
        return;
    MT_kurzusalkalom.Append();
    MT_kurzusalkalom.FieldByName("kurzus_id")->SetAsInteger(kurzusId);
    MT_kurzusalkalom.FieldByName("alkalom_id")->SetAsInteger(alkalomId);
    MT_kurzusalkalom.Post();
}
