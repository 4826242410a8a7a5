#include "Toast.h"

#include "MainWindowLocator.h"
#include "WidgetsLog.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QMutex>
#include <QMutexLocker>
#include <QPropertyAnimation>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

QPointer<Toast> Toast::sInstance;

Toast *Toast::instance(QWidget *parent)
{
    static QMutex mutex;
    if (!sInstance) {
        QMutexLocker lock(&mutex);
        if (!sInstance)
            sInstance = new Toast(parent);
    }
    return sInstance;
}

Toast::Toast(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("Toast"));
    setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    setWindowOpacity(0);
    // A dark grey, so the white text reads even where the toast is half
    // transparent over a white page.
    setStyleSheet(QStringLiteral("background: #4D4D4D;color: white;border-radius: 5px;"));
    setFixedSize(700, 300);

    mLabel = new QLabel(this);
    mLabel->setObjectName(QStringLiteral("message"));
    // Messages carry the service's words and names from the card: never markup.
    mLabel->setTextFormat(Qt::PlainText);
    mLabel->setFont(QFont(QStringLiteral("Helvetica"), 16));
    mLabel->setAlignment(Qt::AlignCenter);
    mLabel->setWordWrap(true);
    mLabel->setMargin(4);
    mLabel->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Minimum);
    // Only the label is shown: without a compositing window manager the
    // transparent rest of the window would be painted black.
    mLabel->installEventFilter(this);

    auto *row = new QHBoxLayout;
    row->addWidget(mLabel, 0, Qt::AlignCenter);
    auto *column = new QVBoxLayout(this);
    column->addLayout(row);

    mTimer = new QTimer(this);
    mTimer->setSingleShot(true);
    connect(mTimer, &QTimer::timeout, this, &Toast::timeOver);
    mAnimation = new QPropertyAnimation(this, "windowOpacity", this);

    if (QScreen *screen = this->screen()) {
        const QSize area = screen->geometry().size();
        move((area.width() - width()) / 2, int((area.height() - height()) * 0.618));
    }
    placeOverMainWindow();
}

bool Toast::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == mLabel && (event->type() == QEvent::Resize || event->type() == QEvent::Move))
        setMask(QRegion(mLabel->geometry()));
    return QWidget::eventFilter(watched, event);
}

QString Toast::text() const
{
    return mLabel->text();
}

void Toast::placeOverMainWindow()
{
    if (QMainWindow *main = MainWindowLocator::find()) {
        move(main->x() + (main->width() - width()) / 2,
             main->y() + int((main->height() - height()) * 0.618));
    }
}

// A word-wrapped label picks a narrow width of its own and would break even
// a short sentence in two. The label is made as wide as the message on one
// line, with some room around it, up to the width of the window.
void Toast::fitLabelTo(const QString &msg)
{
    const int sideRoom = 16;
    const QMargins outer = layout()->contentsMargins();
    const int usable = width() - outer.left() - outer.right();
    const QFontMetrics metrics(mLabel->font());
    const int oneLine = metrics.horizontalAdvance(msg) + 2 * (mLabel->margin() + sideRoom);
    mLabel->setMinimumWidth(qMin(oneLine, usable));
    mLabel->setMinimumHeight(metrics.lineSpacing() + 2 * (mLabel->margin() + sideRoom / 2));
}

void Toast::setMessageVDuration(const QString &msg, int msecDisplayTime)
{
    qCDebug(lcWidgets) << "Toast: " << msg;
    // The program and the plug-in each have a toast of their own; the newer
    // message replaces the other one's instead of piling on top of it.
    const QWidgetList tops = QApplication::topLevelWidgets();
    for (QWidget *other : tops) {
        if (other != this && other->isVisible() && other->objectName() == objectName())
            other->hide();
    }
    placeOverMainWindow();
    show();
    fitLabelTo(msg);
    mLabel->setText(msg);
    mDisplayTime = msecDisplayTime;

    // A message that arrives while the previous one fades out must not be
    // closed by that fade-out's end.
    mAnimation->stop();
    disconnect(mAnimation, &QPropertyAnimation::finished, this, &Toast::fadeInAnimationFinished);
    mAnimation->setDuration(mFadeDuration);
    mAnimation->setStartValue(0.0);
    mAnimation->setEndValue(PeakOpacity);
    mAnimation->start();
    mTimer->start(mDisplayTime);
}

void Toast::timeOver()
{
    mTimer->stop();
    mAnimation->stop();
    connect(mAnimation, &QPropertyAnimation::finished, this, &Toast::fadeInAnimationFinished,
            Qt::UniqueConnection);
    mAnimation->setDuration(mFadeDuration);
    // From where the fade-in got to, so a display time shorter than the
    // fade does not flash to full opacity first.
    mAnimation->setStartValue(qMin(windowOpacity(), PeakOpacity));
    mAnimation->setEndValue(0.0);
    mAnimation->start();
}

void Toast::fadeInAnimationFinished()
{
    disconnect(mAnimation, &QPropertyAnimation::finished, this, &Toast::fadeInAnimationFinished);
    close();
}
