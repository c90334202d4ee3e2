#pragma once

#include "publish/transferworker.h"

#include <QWidget>

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class TAnimate;
class TransferController;

// The lower part of the Upload page. While a transfer runs: the animation, the file at hand, the whole send's
// progress and Stop (pnlProgress); once it ends, what became of each file.
class TTransferView : public QWidget
{
    Q_OBJECT
public:
    // Shows what the controller reports; Stop asks it to stop.
    TTransferView(TransferController *transfer, QWidget *parent);

    void begin(const QString &host);
    void end(const QList<FileResult> &results);

private:
    QWidget *pnlProgress = nullptr;
    TAnimate *Animate = nullptr;
    QLabel *lblProgress = nullptr;
    QProgressBar *pbTotal = nullptr;
    QLabel *lblTotal = nullptr;
    QPushButton *btnStop = nullptr;
    QLabel *lblResult = nullptr;
    QListWidget *lstResults = nullptr;
};
