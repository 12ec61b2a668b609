#pragma once

// TDBCtrlGrid: a panel of data controls for the current record of a data source, with a
// vertical scroll bar that moves through the dataset. The controls (TDBEdit and the like, bound
// to the same data source) are placed on Panel() and follow the current record themselves; the
// grid shows one record at a time and neither inserts nor deletes.

#include "platform/DB.h"

#include <QAbstractScrollArea>

#include <memory>

class QFrame;

class TDBCtrlGrid : public QAbstractScrollArea {
public:
    explicit TDBCtrlGrid(QWidget *parent = nullptr);
    ~TDBCtrlGrid() override;

    TDataSource *DataSource() const;
    void SetDataSource(TDataSource *source);
    // The parent of the record's controls; enabled only while there is a record to show.
    QWidget *Panel() const;
    int PanelWidth() const;
    void SetPanelWidth(int width);
    int PanelHeight() const;
    void SetPanelHeight(int height);

    QSize sizeHint() const override;
    // The panel does not shrink with the grid: any less would cut its controls.
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    class Link;

    void dataSetChanged();
    void showPosition();

    std::unique_ptr<Link> link_;
    QFrame *panel_;
    int recordCount_ = 0;
};
