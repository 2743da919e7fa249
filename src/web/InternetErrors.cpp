#include "web/InternetErrors.h"

#include <curl/curl.h>

namespace qn {

int InternetErrorFromCurl(int curlCode) {
  switch (static_cast<CURLcode>(curlCode)) {
    case CURLE_OK:
      return kInetNoError;
    case CURLE_OUT_OF_MEMORY:
      return kInetOutOfMemory;
    case CURLE_OPERATION_TIMEDOUT:
      return kInetTimeout;
    case CURLE_UNSUPPORTED_PROTOCOL:
      return kInetUnrecognizedScheme;
    case CURLE_URL_MALFORMAT:
      return kInetInvalidUrl;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
      return kInetNameNotResolved;
    case CURLE_COULDNT_CONNECT:
      return kInetCannotConnect;
    case CURLE_LOGIN_DENIED:
      return kInetIncorrectPassword;
    case CURLE_REMOTE_ACCESS_DENIED:
    case CURLE_REMOTE_FILE_NOT_FOUND:
    case CURLE_FTP_COULDNT_RETR_FILE:
    case CURLE_FTP_COULDNT_USE_REST:
    case CURLE_FTP_COULDNT_SET_TYPE:
    case CURLE_QUOTE_ERROR:
    case CURLE_FTP_PORT_FAILED:
    case CURLE_FTP_ACCEPT_FAILED:
    case CURLE_FTP_WEIRD_PASV_REPLY:
    case CURLE_FTP_WEIRD_227_FORMAT:
    case CURLE_FTP_CANT_GET_HOST:
      return kInetExtendedError;
    case CURLE_ABORTED_BY_CALLBACK:
      return kInetOperationCancelled;
    case CURLE_SEND_ERROR:
    case CURLE_PARTIAL_FILE:
      return kInetConnectionAborted;
    case CURLE_RECV_ERROR:
      return kInetConnectionReset;
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_ISSUER_ERROR:
      return kInetInvalidCa;
    case CURLE_SSL_CONNECT_ERROR:
      return kInetSecurityChannelError;
    case CURLE_GOT_NOTHING:
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_HTTP2:
    case CURLE_HTTP2_STREAM:
      return kInetInvalidServerResponse;
    case CURLE_TOO_MANY_REDIRECTS:
      return kInetRedirectFailed;
    default:
      return kInetInternalError;
  }
}

bool IsConnectionError(int internetError) {
  return internetError != kInetNoError && internetError != kInetExtendedError;
}

}  // namespace qn
