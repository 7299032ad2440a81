#include "form/RouterState.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>

RouterState::RouterState() = default;

RouterState::~RouterState() {
    // Replies belong to the manager; stop them before it goes so none reports into a dead form.
    for (QNetworkReply* reply : ActiveReplies) reply->disconnect();
    Timer1.reset();
    Network.reset();
}
