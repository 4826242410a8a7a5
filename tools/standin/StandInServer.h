#pragma once

#include "FaultRules.h"
#include "FileStore.h"

#include <QHash>
#include <QJsonObject>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <memory>

class LineLimit;
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace httplib {
class Server;
struct Request;
struct Response;
}

class AccountStore;
class ProductCatalogue;
class RequestLog;
class ServiceApi;

// The local stand-in for the maker's web service and web host: the JSON
// service under "/KvaApi/", archives under "/files/", the account pages,
// and "/control/" for tests to inject faults, swap files and read the
// request log.
class StandInServer
{
public:
    struct Options
    {
        QString fixture;
        QString filesDir;
        QString logFile;
        QString certFile; // both set: HTTPS
        QString keyFile;
        int port = 0;     // 0: any free port
        qint64 rateLimit = 0; // bytes a second for all answers together; 0: none
        bool verbose = false;
    };

    explicit StandInServer(const Options &options);
    ~StandInServer();

    // Loads the fixture and binds the port; false and a reason on failure.
    bool setUp(QString *error);
    int port() const { return mPort; }
    // Serves until stop(); returns false when the server failed.
    bool run();
    // Safe from any thread; wakes stalled and delayed answers.
    void stop();

private:
    struct Reply
    {
        int status = 200;
        std::string contentType = "application/json; charset=utf-8";
        FileStore::Content body;
        size_t offset = 0;
        size_t length = 0;
        std::vector<std::pair<std::string, std::string>> headers;
    };

    void dispatch(const httplib::Request &req, httplib::Response &res);
    Reply route(const httplib::Request &req, const FaultRules::Fault *fault);
    Reply serviceReply(const httplib::Request &req, const QString &endpoint);
    Reply fileReply(const httplib::Request &req, const QString &name, const FaultRules::Fault *fault);
    Reply pageReply(const QString &path, const QString &query);
    void control(const httplib::Request &req, httplib::Response &res);
    void send(const Reply &reply, const FaultRules::Fault *fault, httplib::Response &res);
    void loadFixtureFaults(QString *error);
    void resetState();

    // Waits until stop() or a reset; false when the server is stopping.
    void waitForRelease();
    void pause(int ms);

    static Reply textReply(int status, const QByteArray &body, const char *contentType);
    static Reply jsonReply(int status, const QJsonObject &body);
    static QJsonObject headersJson(const httplib::Request &req);

    Options mOptions;
    QJsonObject mFixture;
    std::unique_ptr<httplib::Server> mServer;
    std::unique_ptr<FileStore> mFiles;
    std::unique_ptr<AccountStore> mAccounts;
    std::unique_ptr<ProductCatalogue> mCatalogue;
    std::unique_ptr<ServiceApi> mApi;
    std::unique_ptr<LineLimit> mLine;
    std::unique_ptr<RequestLog> mLog;
    FaultRules mFaults;
    int mPort = 0;
    bool mTls = false;

    std::mutex mWaitMutex;
    std::condition_variable mWaitCondition;
    std::atomic<bool> mStopping{false};
    std::atomic<bool> mRunFinished{false};
    quint64 mReleaseGeneration = 0; // guarded by mWaitMutex
};
