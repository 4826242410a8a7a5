#pragma once

#include <QPair>
#include <QString>
#include <QVector>
#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;

// The language of the vehicle software and the language of Ostrel's own
// texts. A change is saved to "setup.ini" and takes effect through a restart,
// which is refused while a download or an uninstall runs.
class SettingView : public QWidget
{
    Q_OBJECT
public:
    // The event loop's exit code that makes the program start anew.
    static constexpr int RestartExitCode = 886;

    explicit SettingView(QWidget *parent = nullptr);

    // Display name and two-letter code, in the order the list shows them.
    static QVector<QPair<QString, QString>> languageTable();
    // The same for the interface languages ("zh", "en").
    static QVector<QPair<QString, QString>> interfaceLanguageTable();

    int selectedLanguageIndex() const { return mSelectedIndex; }
    QComboBox *languageBox() const { return mLanguage; }
    QComboBox *interfaceLanguageBox() const { return mInterfaceLanguage; }
    QPushButton *confirmButton() const { return mConfirm; }

public slots:
    void OnLanguageChanged(int index);
    void OnBtnLanguageSetClicked();

private:
    QComboBox *addLanguageBox(const QString &objectName, const QVector<QPair<QString, QString>> &table,
                              const QString &saved);
    QString chosenInterfaceLanguage() const;
    bool vehicleLanguageChanged() const;
    bool interfaceLanguageChanged() const;
    void updateConfirm();

    QVector<QPair<QString, QString>> mLanguages;
    int mSelectedIndex;
    QLabel *mTitle = nullptr;
    QLabel *mCaption = nullptr;
    QComboBox *mLanguage = nullptr;
    QLabel *mInterfaceCaption = nullptr;
    QComboBox *mInterfaceLanguage = nullptr;
    QPushButton *mConfirm = nullptr;
};
