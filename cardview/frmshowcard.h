#pragma once

#include "cardview/cardviewer.h"
#include "cardview/picturelibrary.h"

#include <QWidget>
#include <functional>

class QAction;
class QLabel;
class QMenu;

namespace cardview {

// The card window: one card as its picture or as text, floating above its owner.
class frmShowCard : public QWidget, public CardViewer {
    Q_OBJECT
public:
    // isActive tells whether the owner's "Karten Anzeigen" carries its check mark.
    frmShowCard(QWidget* owner, std::function<bool()> isActive);

    void showCard(const QString& sKartenname, const QString& sTable) override;
    void closeWindow() override;
    void showText(const QString& sKartenname, const QString& sTable);

    QLabel* imgCard = nullptr;
    QLabel* txtCard = nullptr;
    QMenu* mnuSubCard = nullptr;
    QAction* mnuBild = nullptr;
    QAction* mnuText = nullptr;
    QAction* mnuSep = nullptr;
    QAction* mnuTwiceSize = nullptr;
    QAction* mnuNormSize = nullptr;
    QAction* mnuHalfSize = nullptr;
    QAction* mnuQuarterSize = nullptr;

    // Client height in twips, as the size entries set it.
    void setClientHeightTwips(int twips);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showPicture(const QString& sKartenname, const QString& sTable);
    static QString tableOf(const QString& sTable);
    static QString drawnKey(bool picture, const QString& name, const QString& table);
    // Shows the window, once its owner is on screen, and leaves the keyboard where it was.
    void appear();
    void setClientHeight(int pixels);
    QString storedType() const;
    void setMode(bool picture);
    void storePlacement();
    void placeBesideOwner();

    std::function<bool()> m_isActive;
    PictureLibrary m_library;
    bool m_libraryReported = false;
    QString m_name;
    QString m_table;
    // What the window shows now (mode, table, name); the same card asked again is not read again.
    QString m_drawn;
    bool m_shownOnce = false;
    bool m_waitingForOwner = false;
    // The outer size of a window never placed yet: it goes beside its owner when it first appears.
    QSize m_firstOuter;
};

} // namespace cardview
