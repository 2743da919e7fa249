// Built-in English texts of the program, looked up by numeric id.
// Language files override them at run time; these are the fallback.
#include "text/StringTable.h"

#include <algorithm>
#include <iterator>

namespace qn {
namespace {
struct Entry {
  int id;
  const char* text;
};

// Kept sorted by id so that lookup is a binary search.
constexpr Entry kStrings[] = {
    {55459, "The Project has been changed.\nDo you want to save it?"},
    {55462, "Do you want to delete the folder?"},
    {55463, "Do you want to delete the link?"},
    {55469, "Preparing for printing, please wait..."},
    {55470, "Loading image for printing..."},
    {55472, "New Project"},
    {55477, "Analyzing..."},
    {55478, "Downloading..."},
    {55479, "Starting..."},
    {55480, "Completed..."},
    {55481, "Stopped"},
    {55482, "File Name"},
    {55483, "Size"},
    {55484, "Status"},
    {55485, "bytes"},
    {55486, "KB"},
    {55487, "MB"},
    {55488, "GB"},
    {55494, "unknown"},
    {55495, "Cannot open the file '%s'."},
    {55499, "Download is Started (%s)"},
    {55500, "Download is Completed (%s)"},
    {55502, "Download is Stopped (%s)"},
    {55503, "Note: The Log File is too big to be loaded completely."},
    {55504, " Error (HTTP code %d) - '%s'"},
    {55505, " Error (Number %d) - '%s'"},
    {55506, " File '%s' (size %s) exceeds the limit"},
    {55508, "Summary:\r\n Number of Files: %d        Total Size: %s"},
    {55509, " - Number of Files exceeded the limit"},
    {55510, " - Total Time exceeded the limit"},
    {55512, "Unchanged"},
    {55513, "Stopping..."},
    {55514, "Quillorne"},
    {55516, "Comments"},
    {55519, "Converting Links..."},
    {55520, " - Total Disk Space exceeded the limit"},
    {61840, "Unable to load mail system support."},
    {61841, "Mail system DLL is invalid."},
    {61842, "Send Mail failed to send message."},
    {65000, "January"},
    {65001, "February"},
    {65002, "March"},
    {65003, "April"},
    {65004, "May"},
    {65005, "June"},
    {65006, "July"},
    {65007, "August"},
    {65008, "September"},
    {65009, "October"},
    {65010, "November"},
    {65011, "December"},
    {65012, "Disabled"},
    {65013, "Daily"},
    {65014, "Weekly"},
    {65015, "Monthly"},
    {65016, "Yearly"},
    {65017, "Every"},
    {65018, "Following Previous"},
    {65019, "Sunday"},
    {65020, "Monday"},
    {65021, "Tuesday"},
    {65022, "Wednesday"},
    {65023, "Thursday"},
    {65024, "Friday"},
    {65025, "Saturday"},
    {65026, "AM"},
    {65027, "PM"},
    {65032, "HTML"},
    {65033, "Image"},
    {65034, "Audio"},
    {65035, "Video"},
    {65037, "Archive"},
    {65038, "Other"},
    {65039, "Java"},
    {65040, "Document"},
    {65042, "Protocol"},
    {65043, "Server"},
    {65044, "Directory"},
    {65045, "File"},
    {65046, "Insert New Filter"},
    {65047, "Edit Filter"},
    {65048, "Remove Filter"},
    {65053, "All"},
    {65054, "Do you want to delete downloaded files also?"},
    {65055, "Add URL Filter..."},
    {65063, "Connecting..."},
    {65064, "Disconnecting..."},
    {65065, "Shuting system down in %d seconds"},
    {65066, "Disconnecting in %d seconds"},
    {65069, "Welcome"},
    {65070, " File '%s' (size %s) is too small"},
    {65071, "The file  '%s' is not a valid Quillorne project."},
    {65072, "The disk is full !"},
    {65073, " Error writing file '%s'"},
    {65074, " Error reading file '%s'"},
    {65076, "< &Back"},
    {65077, "&Next >"},
    {65078, "Finish"},
    {65079, "Cancel"},
    {65080, "Help"},
    {65081, "Do you want to delete these links?"},
    {65082, "Page %d/%d"},
    {65083, "The tree is too big. Please collapse a few nodes and try to print again."},
    {65084, "Scanning..."},
    {65085, "Preview is Started (%s)"},
    {65086, "Preview is Completed (%s)"},
    {65087, "Preview is Stopped (%s)"},
    {65088, "Do you want to initialize the Contents Tree?"},
    {65095, "KB/sec"},
    {65096, "Show File Location"},
    {65097, "Abort File Download"},
    {65098, "Stopping the download, please wait..."},
    {65099, "Opening the project, please wait..."},
    {65100, "Converting Links in %d seconds"},
    {65101, "Dialer Error: %s"},
    {65105, "Paused..."},
    {65125, "Download Report"},
    {65126, "Status"},
    {65128, "URL"},
    {65129, "File Type"},
    {65130, "Size"},
    {65131, "Modified"},
    {65133, "Level"},
    {65134, "Downloaded"},
    {65135, "Skipped"},
    {65136, "Error %d"},
    {65137, "Project:"},
    {65138, "Title:"},
    {65139, "URL:"},
    {65140, "Directory:"},
    {65141, "Started:"},
    {65142, "Unchanged"},
    {65149, "Cannot find the string '%s'."},
    {65150, "Cannot find the file '%s'."},
    {65153, "You need to enter a Password."},
    {65154, "You need to confirm the Password."},
    {65155, "Failed to confirm the Password."},
    {65156, "Encrypting Project Files..."},
    {65157, "Decrypting Project Files..."},
    {65158, "Encrypting Downloaded Files..."},
    {65159, "Decrypting Downloaded Files..."},
    {65160, "Failed to Encrypt Downloaded files."},
    {65161, "Failed to Decrypt Downloaded files."},
    {65162, "Failed to Encrypt Project files."},
    {65163, "Failed to Decrypt Project files."},
    {65164, "Password cannot have characters with ASCII code greater than 127."},
    {65165, "Downloaded files won't be decrypted."},
    {65166, "Project files won't be decrypted."},
    {65168, "Failed to copy project."},
    {65169, "You cannot copy the project to its original location."},
    {65170, "Failed to copy project files."},
    {65178, "Copying project..."},
    {65179, " Internal Error (Code %d)"},
    {65180, "Failed to save the project '%s': %s"},
    {65181, "No web browser could be started for '%s'."},
    {65200, " Redirection to '%s' is outside the project - '%s'"},
    {65202, "The download could not start: the download folder '%s' cannot be created."},
    {65203, "The download could not start: the download folder '%s' cannot be written."},
    {65204, "The project names files outside its folders, such as '%s'. They are ignored."},
    {65205,
     "The archive '%s' holds files outside the download folder, such as '%s'. They were not "
     "extracted, and the archive is kept."},
    {65220,
     "The project '%s' already exists. Do you want to replace it by a new project with the "
     "settings of this template?"},
    {65221,
     "The project '%s' already exists: the template is not opened, so that the project "
     "and its log stay as they are."},
    {65240, " Server '%s' asks to wait %d seconds (HTTP code %d)"},
    {65241, " robots.txt excludes '%s'"},
    {65242, " robots.txt of '%s' cannot be read (%d): no file of that server is fetched"},
    {65243, " %d cookies read from '%s'"},
    {65244, " The cookies file '%s' cannot be read"},
};

constexpr bool IsStrictlySorted() {
  for (std::size_t i = 1; i < std::size(kStrings); ++i)
    if (kStrings[i - 1].id >= kStrings[i].id) return false;
  return true;
}
static_assert(IsStrictlySorted(), "string ids must be unique and in ascending order");

}  // namespace

const char* BuiltinString(int id) {
  const auto* end = std::end(kStrings);
  const auto* it = std::lower_bound(std::begin(kStrings), end, id,
                                    [](const Entry& e, int v) { return e.id < v; });
  return (it != end && it->id == id) ? it->text : "";
}

std::vector<int> BuiltinStringIds() {
  std::vector<int> ids;
  ids.reserve(std::size(kStrings));
  for (const Entry& entry : kStrings) ids.push_back(entry.id);
  return ids;
}

}  // namespace qn
