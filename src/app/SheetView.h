#pragma once
// The sprite sheet view of the DAT Tool: a grid of thumbnails over a
// SheetModel that decodes them lazily; choosing a cell selects its item.

#include <QListView>

class SheetModel;

class SheetView : public QListView {
    Q_OBJECT
public:
    explicit SheetView(QWidget* parent = nullptr);

    SheetModel* Model() const { return model_; }
    // Makes the cell showing `item` current (the first cell in the icons mode).
    void SelectItem(int item);

signals:
    // A cell was chosen: its item, and its icon number.
    void Chosen(int item, int icon);

private:
    SheetModel* model_;
    bool following_ = false;
};
