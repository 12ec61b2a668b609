#include "app/ProgramForms.h"

#include "app/brelvix_pas.h"
#include "app/vonalzo.h"
#include "data/adoform.h"
#include "data/kozepreteg.h"
#include "dialogs/Admin_table.h"
#include "dialogs/Beemeles_u.h"
#include "dialogs/MintaTargyEditor.h"
#include "dialogs/Oktatofoglaltsag.h"
#include "dialogs/Teremfoglaltsag.h"
#include "dialogs/csoportfog.h"
#include "dialogs/hetek_edit.h"
#include "dialogs/letszaminp.h"
#include "dialogs/letszamok.h"
#include "dialogs/oktvalaszt.h"
#include "dialogs/orarendek.h"
#include "dialogs/orarentitle.h"
#include "dialogs/szakvalaszto.h"
#include "dialogs/tantargyszerv.h"
#include "dialogs/tantargyszerv2.h"
#include "dialogs/targybeemeles.h"
#include "dialogs/targyedit.h"
#include "dialogs/targykereso.h"
#include "dialogs/targykival.h"
#include "dialogs/teremfel.h"
#include "dialogs/teremval.h"
#include "platform/widgets/FieldTextInput.h"

#include <QMessageBox>

TVonal *Vonal = nullptr;

template <class T, class... Args>
void TProgramForms::create(T *&global, const char *className, Args &&...args)
{
    global = new T(std::forward<Args>(args)...);
    creationOrder_.push_back(className);
    releases_.push_back([&global] {
        delete global;
        global = nullptr;
    });
}

TProgramForms::TProgramForms(TDMEnvironment environment)
{
    try {
        create(DM, "TDM", std::move(environment));
        create(Form1, "TForm1");
        // A child of the main window, so that it shows over it.
        create(Vonal, "TVonal", Form1);
        DM->SetProgress(Vonal);
        releases_.push_back([] { DM->SetProgress(nullptr); });
        create(orarend, "Torarend");
        create(Targyfelvet, "TTargyfelvet");
        create(tantargyszervezes, "Ttantargyszervezes");
        create(teremvalasztas, "Tteremvalasztas");
        create(teremfelvetel, "Tteremfelvetel");
        create(oktval, "Toktval");
        create(beemeles, "Tbeemeles");
        create(Teremfog, "TTeremfog");
        create(Emelo, "TEmelo");
        create(Adminka, "TAdminka");
        create(edithetek, "Tedithetek");
        // Its mask goes into occasions, whose weeks field is the widest it feeds.
        limitEditToField(*edithetek->HetekEdit, DM->MT_alkalom.FieldByName("hetek"));
        create(letszam, "Tletszam");
        create(Targyeditor, "TTargyeditor");
        create(szakval, "Tszakval");
        create(csoportfoglalasok, "Tcsoportfoglalasok");
        create(targyszervezo2, "Ttargyszervezo2");
        create(Oktatofog, "TOktatofog");
        create(Segitseg, "TSegitseg");
        create(MintaTargy, "TMintaTargy");
        create(targy_kereso, "Ttargy_kereso");
        create(orarend_valaszto, "Torarend_valaszto");
        create(DMK, "TDMK");
        DMK->SetProgress(Vonal);
        // Owned by the main window, so that closing the main window ends the program.
        create(Form2, "TForm2", Form1);
    } catch (...) {
        release();
        throw;
    }
}

TProgramForms::~TProgramForms()
{
    release();
}

void TProgramForms::release()
{
    for (auto release = releases_.rbegin(); release != releases_.rend(); ++release)
        (*release)();
    releases_.clear();
}

void tellRecoveredSave(const TDM &dm)
{
    if (dm.RecoveryNotice().empty())
        return;
    QMessageBox box(QMessageBox::Information, QStringLiteral("Információ"),
                    QString::fromStdString(dm.RecoveryNotice()), QMessageBox::Ok);
    box.exec();
}
