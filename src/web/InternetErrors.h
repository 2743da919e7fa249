#pragma once

namespace qn {

// Error numbers of the internet layer, as the log and the report show them. They keep
// the numbering of the Windows Internet library, so that logs read the same everywhere.
enum InternetError : int {
  kInetNoError = 0,
  kInetOutOfMemory = 8,
  kInetTimeout = 12002,
  kInetExtendedError = 12003,  // the server refused the command (FTP)
  kInetInternalError = 12004,
  kInetInvalidUrl = 12005,
  kInetUnrecognizedScheme = 12006,
  kInetNameNotResolved = 12007,
  kInetIncorrectPassword = 12014,
  kInetOperationCancelled = 12017,
  kInetCannotConnect = 12029,
  kInetConnectionAborted = 12030,
  kInetConnectionReset = 12031,
  kInetInvalidCa = 12045,
  kInetInvalidServerResponse = 12152,
  kInetRedirectFailed = 12156,
  kInetSecurityChannelError = 12157,
};

// The error number for a libcurl result code (a CURLcode).
int InternetErrorFromCurl(int curlCode);

// Whether an error means that no session with the server came about (the server is
// unreachable or refused the login), as opposed to a refused request.
bool IsConnectionError(int internetError);

}  // namespace qn
