#pragma once

#include "app/panels/blockpanel.h"

#include <memory>

class QFrame;

namespace Ui {
class TLinePanel;
}

// A horizontal line block: its width in percent of the page, its thickness and its shading,
// with a preview that shows width and thickness.
class TLinePanel : public TBlockPanel
{
    Q_OBJECT

public:
    explicit TLinePanel(QWidget *parent = nullptr);
    ~TLinePanel() override;

    void load(const TPagelette &doc, const TPageItem &item) override;
    void commit(TBlockEdit &edit) override;

    // The preview's designed width: its width at 100 % until one is stored.
    static constexpr int kDesignedLineWidth = 250;
    // Width in pixels of the preview for a line of percent % of the page: reference × percent
    // / 100, rounded to the nearest whole pixel, halves to the even neighbour.
    static int linePreviewWidth(int referenceWidth, int percent);
    // Stores the preview's current width as its width at 100 % (done once at start-up).
    void storeReferenceWidth();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void showThickness();
    void showWidth();
    void centrePreview();

    std::unique_ptr<Ui::TLinePanel> ui;
    QFrame *m_bevHR = nullptr;
    int m_referenceWidth = kDesignedLineWidth;
};
