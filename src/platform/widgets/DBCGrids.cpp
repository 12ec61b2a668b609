#include "platform/widgets/DBCGrids.h"

#include "platform/widgets/DBCtrls.h"

#include <QFrame>
#include <QKeyEvent>
#include <QScrollBar>

class TDBCtrlGrid::Link : public TDataLink {
public:
    explicit Link(TDBCtrlGrid &grid) : grid_(grid) {}

protected:
    void ActiveChanged() override { grid_.dataSetChanged(); }
    void DataSetChanged() override { grid_.dataSetChanged(); }
    void DataSetScrolled(int) override { grid_.showPosition(); }

private:
    TDBCtrlGrid &grid_;
};

TDBCtrlGrid::TDBCtrlGrid(QWidget *parent)
    : QAbstractScrollArea(parent), link_(std::make_unique<Link>(*this)), panel_(new QFrame(viewport()))
{
    setFocusPolicy(Qt::StrongFocus);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    panel_->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    panel_->setGeometry(0, 0, 200, 72);
    connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this, [this](int action) {
        if (link_->Active())
            scrollDataSet(*verticalScrollBar(), *link_->DataSet(), action, recordCount_, 1);
    });
    dataSetChanged();
}

TDBCtrlGrid::~TDBCtrlGrid()
{
    link_->SetDataSource(nullptr);
}

TDataSource *TDBCtrlGrid::DataSource() const
{
    return link_->DataSource();
}

void TDBCtrlGrid::SetDataSource(TDataSource *source)
{
    link_->SetDataSource(source);
}

QWidget *TDBCtrlGrid::Panel() const
{
    return panel_;
}

int TDBCtrlGrid::PanelWidth() const
{
    return panel_->width();
}

void TDBCtrlGrid::SetPanelWidth(int width)
{
    panel_->resize(width, panel_->height());
    updateGeometry();
}

int TDBCtrlGrid::PanelHeight() const
{
    return panel_->height();
}

void TDBCtrlGrid::SetPanelHeight(int height)
{
    panel_->resize(panel_->width(), height);
    updateGeometry();
}

QSize TDBCtrlGrid::sizeHint() const
{
    const int frame = 2 * frameWidth();
    return {panel_->width() + verticalScrollBar()->sizeHint().width() + frame, panel_->height() + frame};
}

void TDBCtrlGrid::dataSetChanged()
{
    TDataSet *dataSet = link_->DataSet();
    const bool active = link_->Active();
    recordCount_ = active && dataSet->IsSequenced() ? dataSet->RecordCount() : 0;
    panel_->setEnabled(active && !dataSet->IsEmpty());
    showPosition();
}

void TDBCtrlGrid::showPosition()
{
    showDataSetPosition(*verticalScrollBar(), link_->Active() ? link_->DataSet() : nullptr, recordCount_, 1);
}

void TDBCtrlGrid::scrollContentsBy(int, int)
{
    // The panel never scrolls: the bar moves the dataset instead.
}

void TDBCtrlGrid::keyPressEvent(QKeyEvent *event)
{
    // Keys the panel's controls leave unused arrive here.
    const int actions[][2] = {{Qt::Key_Up, QAbstractSlider::SliderSingleStepSub},
                              {Qt::Key_Down, QAbstractSlider::SliderSingleStepAdd},
                              {Qt::Key_PageUp, QAbstractSlider::SliderSingleStepSub},
                              {Qt::Key_PageDown, QAbstractSlider::SliderSingleStepAdd}};
    for (const auto &[key, action] : actions) {
        if (event->key() == key) {
            event->accept();
            verticalScrollBar()->triggerAction(QAbstractSlider::SliderAction(action));
            return;
        }
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void TDBCtrlGrid::wheelEvent(QWheelEvent *event)
{
    event->accept();
    const int steps = event->angleDelta().y() / 120;
    if (steps != 0 && link_->Active())
        link_->DataSet()->MoveBy(-steps);
}
