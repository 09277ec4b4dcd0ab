#pragma once

#include <QLabel>

// The cover of the detail panel: a label that reports every mouse press.
class labelClickable : public QLabel
{
    Q_OBJECT

public:
    explicit labelClickable(QWidget* parent = nullptr);

signals:
    void clicked();

public slots:
    // Does nothing; part of the label's interface, beside clicked().
    void slotClicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
};
