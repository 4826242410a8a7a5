#pragma once

#include <QMap>
#include <QString>
#include <QVector>
#include <QWidget>

class QComboBox;
class QLineEdit;
class QScrollArea;

// The profile form of the user-information page: one line edit per field
// and a country list filled from the service.
class UserInfoEditView : public QWidget
{
    Q_OBJECT
public:
    static const char *const PageId; // "USERINFO_EDIT"

    explicit UserInfoEditView(QWidget *parent = nullptr);

    void setUser(const QString &token, long userId);
    QString token() const { return mToken; }
    long userId() const { return mUserId; }

    // Fetches the country table; the last name wins for a repeated id.
    bool loadCountries();
    // Fills the form from the service's profile. False on failure, which
    // leaves the form as it was.
    bool loadUserInfo();
    // Sends the form; true when the service accepted it.
    bool save();

    const QMap<int, QString> &countries() const { return mCountries; }
    // The line edit of a row, nullptr for the country row.
    QLineEdit *edit(int row) const;
    QComboBox *countryBox() const { return mCountry; }

signals:
    void SignalBtnClicked(QString id);

public slots:
    void OnUpdateView(QString viewId, QString token, long userId);

private:
    void fillCountryBox();
    void selectCountry(int countryId);
    int selectedCountryId() const;
    void toast(const QString &message);
    void reportLoadFailure(int status, int code);

    QString mToken;
    long mUserId = 0;
    QMap<int, QString> mCountries;
    // The country of the last profile read, sent back when the list could
    // not be fetched, so a save never clears the user's country.
    int mLoadedCountryId = 0;
    // The form has shown the service's profile at least once. Until then its
    // fields are empty, not the user's, and must never be saved.
    bool mFilled = false;
    QScrollArea *mScroll = nullptr;
    QVector<QLineEdit *> mEdits;
    QComboBox *mCountry = nullptr;
};
