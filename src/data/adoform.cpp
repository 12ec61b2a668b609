#include "data/adoform.h"

#include "data/kozepreteg.h"
#include "platform/Cp1250.h"
#include "platform/widgets/DBGrids.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TForm2 *Form2 = nullptr;

namespace {

// The largest number of rows copied from one table.
constexpr int RowLimit = 99999;
constexpr int RadioColumns = 3;

QString fromCp1250(const std::string &text)
{
    return QString::fromStdString(cp1250ToUtf8(text));
}

} // namespace

TForm2::TForm2(QWidget *parent) : TForm2(*DMK, parent) {}

// A window of its own over its owner: the owner's closing ends the program even while this one is
// open.
TForm2::TForm2(TDMK &dmk, QWidget *parent)
    : QWidget(parent, Qt::Window), DBGrid1(new TDBGrid(this)),
      B1(new QPushButton(QStringLiteral("Ürítés"), this)),
      B2(new QPushButton(QStringLiteral("Generálás"), this)), RG_tabla(new QGroupBox(this)),
      Edit1(new QLineEdit(this)), Memo1(new QPlainTextEdit(this)), dmk_(dmk),
      tableButtons_(new QButtonGroup(this))
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Form2"));
    resize(900, 640);
    B1->setObjectName(QStringLiteral("B1"));
    B2->setObjectName(QStringLiteral("B2"));
    RG_tabla->setObjectName(QStringLiteral("RG_tabla"));
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Memo1->setObjectName(QStringLiteral("Memo1"));
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->SetDataSource(&DS);
    Memo1->setMaximumHeight(60);

    // The items fill the columns from top to bottom, one column after the other.
    auto *radios = new QGridLayout(RG_tabla);
    const std::vector<TADOTable *> tables = dmk_.Tablak();
    const int perColumn = (static_cast<int>(tables.size()) + RadioColumns - 1) / RadioColumns;
    for (int i = 0; i < static_cast<int>(tables.size()); ++i) {
        auto *radio = new QRadioButton(fromCp1250(tables[static_cast<std::size_t>(i)]->TableName()), RG_tabla);
        tableButtons_->addButton(radio, i);
        radios->addWidget(radio, i % perColumn, i / perColumn);
    }

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(B1);
    buttons->addWidget(B2);
    buttons->addWidget(Edit1, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(Memo1);
    layout->addWidget(RG_tabla);
    layout->addWidget(DBGrid1, 1);

    connect(B1, &QPushButton::clicked, this, [this] { B1Click(); });
    connect(B2, &QPushButton::clicked, this, [this] { B2Click(); });
    connect(tableButtons_, &QButtonGroup::idClicked, this, [this] { RG_tablaClick(); });
}

void TForm2::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    FormShow();
}

void TForm2::FormShow()
{
    Edit1->setText(fromCp1250(dmk_.Provider));
    Memo1->setPlainText(fromCp1250(dmk_.Conn.ConnectionString()));
    try {
        dmk_.Conn.Open();
    } catch (const std::exception &error) {
        showMessage(QStringLiteral("Adatbázis megnyitási hiba"),
                    QString::fromStdString(dmk_.ConnectionReport(error.what())));
    }
}

void TForm2::B1Click()
{
    try {
        dmk_.Urites();
    } catch (const std::exception &error) {
        showMessage(QString::fromUtf8(error.what()));
    }
}

void TForm2::B2Click()
{
    if (!dmk_.Conn.Connected()) {
        try {
            dmk_.Conn.Open();
        } catch (const std::exception &error) {
            showMessage(QStringLiteral("Adatbáziskapcsolat nem jött létre!"),
                        QString::fromStdString(dmk_.ConnectionReport(error.what())));
            return;
        }
    }
    try {
        for (const TDMK::TMasolas &copy : dmk_.Masolasok()) {
            dmk_.TablaMasolas(copy.source, copy.destination, RowLimit);
            showMessage(fromCp1250(copy.destination.TableName()) + QStringLiteral(" másolás kész"));
        }
    } catch (const std::exception &error) {
        showMessage(QString::fromUtf8(error.what()));
    }
}

void TForm2::RG_tablaClick()
{
    const int index = RG_tablaItemIndex();
    if (index < 0)
        return;
    TADOTable *table = dmk_.Tablak()[static_cast<std::size_t>(index)];
    DS.SetDataSet(table);
    try {
        table->Open();
    } catch (const std::exception &error) {
        showMessage(QString::fromUtf8(error.what()));
    }
}

int TForm2::RG_tablaItemIndex() const
{
    return tableButtons_->checkedId();
}

void TForm2::SetRG_tablaItemIndex(int index)
{
    if (QAbstractButton *button = tableButtons_->button(index))
        button->setChecked(true);
}

void TForm2::showMessage(const QString &text, const QString &details)
{
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), text, QMessageBox::Ok, this);
    box.setInformativeText(details);
    // The lines name paths and connection texts; a narrow box would break each into several.
    if (!details.isEmpty())
        box.setStyleSheet(QStringLiteral("QLabel { min-width: 520px; }"));
    box.exec();
}
