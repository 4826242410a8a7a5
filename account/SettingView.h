#pragma once

#include <QPair>
#include <QString>
#include <QVector>
#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;

// The language of the vehicle software. A change is saved to "setup.ini"
// and takes effect through a restart, which is refused while a download or
// an uninstall runs.
class SettingView : public QWidget
{
    Q_OBJECT
public:
    // The event loop's exit code that makes the program start anew.
    static constexpr int RestartExitCode = 886;

    explicit SettingView(QWidget *parent = nullptr);

    // Display name and two-letter code, in the order the list shows them.
    static QVector<QPair<QString, QString>> languageTable();

    int selectedLanguageIndex() const { return mSelectedIndex; }
    QComboBox *languageBox() const { return mLanguage; }
    QPushButton *confirmButton() const { return mConfirm; }

public slots:
    void OnLanguageChanged(int index);
    void OnBtnLanguageSetClicked();

private:
    QVector<QPair<QString, QString>> mLanguages;
    int mSelectedIndex;
    QLabel *mTitle = nullptr;
    QLabel *mCaption = nullptr;
    QComboBox *mLanguage = nullptr;
    QPushButton *mConfirm = nullptr;
};
