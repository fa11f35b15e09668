#pragma once
// The data link box: an editable drop-down list of data link file names,
// narrower than most paths. Its tool tip shows the whole name typed or
// chosen, and its list opens wide enough for the longest entry.

#include <QComboBox>

class TDataLinkBox : public QComboBox {
    Q_OBJECT
public:
    explicit TDataLinkBox(QWidget* parent = nullptr);

    void showPopup() override;
};
