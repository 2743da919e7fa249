#pragma once

// The project document: the settings it works with, the contents tree that is at
// once the link table and the download queue, the state of a run and the twelve
// locks that serialise the threads of a download.

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/DocLocks.h"
#include "engine/Filters.h"
#include "engine/FoundLink.h"
#include "engine/RunHooks.h"
#include "engine/RunState.h"
#include "engine/SelectionQueue.h"
#include "engine/TreeReady.h"
#include "engine/UrlMap.h"
#include "records/DocTree.h"
#include "records/TreeStats.h"
#include "seams/LogSink.h"
#include "seams/Observer.h"
#include "settings/ProjectSettings.h"
#include "text/Texts.h"

namespace qn {

class QNRun;

class CQNDoc {
 public:
  // The local file name an address would be saved under, as a page or as a file of
  // another type (a name that tells no type ends differently then).
  using LocalNameFn = std::function<std::string(const std::string& address, bool page)>;
  // Asks the server for the category of an address; 0 when it cannot tell.
  using ContentProbeFn = std::function<int(const std::string& address)>;

  // `texts` is the program's lookup, for the texts the document shows and logs.
  CQNDoc(CQNSettings& settings, IQNObserver& observer, IQNLogSink& log, QNTexts texts);
  // A run still going is stopped by force; nothing is saved.
  ~CQNDoc();
  CQNDoc(const CQNDoc&) = delete;
  CQNDoc& operator=(const CQNDoc&) = delete;

  CQNSettings& Settings() { return settings_; }
  const CQNSettings& Settings() const { return settings_; }
  IQNObserver& Observer() { return observer_; }
  IQNLogSink& Log() { return log_; }
  CQNDocTree& Tree() { return tree_; }
  CQNDocLocks& Locks() { return locks_; }
  const QNTexts& Texts() const { return texts_; }

  CQNRunFlags run;
  std::atomic<int> speedLevel{10};  // 1 (slow) to 10 (fast)
  std::atomic<bool> modified{false};

  // Local naming of new addresses; without one the address itself is classified.
  void SetLocalNamer(LocalNameFn namer) { localNamer_ = std::move(namer); }

  // The run's scope. The start index picks the start address being worked on; its
  // base directory and server set site positions and the server test.
  void SetCurrentStart(int index, std::string_view startAddress);
  int CurrentStartIndex() const { return startIndex_; }
  std::string StartDirectory() const;
  void SetDownloadKind(int kind);
  void SetPreview(bool preview);
  // A run limited to `node` and its descendants; null (or the root) for none.
  void SetBranch(CQNDocNode* node);
  CQNDocNode* Branch() const { return branch_; }
  QNFilterScope FilterScope() const;

  // The tree. Both discard every node there was, and with them the address map and
  // the branch of a branch run, which point into the tree; ClearTree tells the
  // observer first (the tree is unusable from then on). Opening and closing a
  // project go through ClearTree, and TreeReplaced follows a project read into the
  // tree or a new one made.
  CQNDocNode* CreateRoot();
  void ClearTree();
  // The tree holds a project again: it is usable, the display rebuilds itself and
  // the tree-ready moment follows. On the thread that opened or made the project.
  void TreeReplaced();
  // The nodes of `ids` under one hold of the tree lock, for a front end that reads
  // many at once: `read` gets each identity with its node, or with null when that
  // node is gone. `read` must not call into the document.
  void ResolveNodes(std::span<const QNNodeId> ids,
                    const std::function<void(const QNNodeId&, const CQNDocNode*)>& read);

  // The tree-ready moment (IQNObserver::OnTreeReady). A front end that shows the
  // tree calls TreeDisplayReady, from any thread, when its display has rebuilt
  // itself after OnTreeCleared; the moment follows when the tree is usable.
  void TreeDisplayReady();
  // Whether the display has rebuilt itself since it was last cleared.
  bool TreeReady() const { return treeReady_.IsSet(); }
  // Waits for it, or until `giveUp` answers true; true when it is ready.
  bool WaitTreeReady(const std::function<bool()>& giveUp);
  // Has the display cleared and rebuilt from the nodes (told first whether the tree
  // is usable when `usable` says so); without a display the tree is ready at once.
  void ResetDisplay(std::optional<bool> usable = {});
  // Add folder / add link for the user: by the insertion rule, with a level of 0 at
  // the root and the reference node's level + 1 elsewhere. Null when the tree is full.
  CQNDocNode* AddFolder(CQNDocNode* ref, bool into);
  CQNDocNode* AddLink(CQNDocNode* ref, bool into, std::string_view localFile = {});
  // Refused (false) while a run is active: workers hold nodes they have taken.
  bool DeleteNode(CQNDocNode* node, bool deleteFiles);
  bool MoveNode(CQNDocNode* node, CQNDocNode* after);

  // The queue. States and marks that may put a node back into the queue (a node
  // pending again, failed, marked or unmarked during a run) are set through
  // SetNodeState and SetNodeMark, so that the queue learns of them.
  CQNDocNode* TakeNextLink();
  void SetNodeState(CQNDocNode* node, int state);
  void SetNodeMark(CQNDocNode* node, int mark);
  // False only when no node can be taken now (a cheap test, no selection).
  bool QueueMayHaveWork();
  CQNDocNode* FindNodeByUrl(std::string_view address, bool useMap);
  // Adds the links the scanner found on `page`, in their order. `probe` asks the
  // server for the category of an address that its name does not tell (runs only).
  void AddFoundLinks(CQNDocNode* page, std::string_view baseDirectory,
                     const std::vector<QNFoundLink>& links, const ContentProbeFn& probe = {});
  // The node of the current start address, made after its first successful fetch.
  // A new node starts taken: its page has just been fetched by the caller.
  CQNDocNode* AddStartNode(std::string_view address, std::string_view localFile);
  // Bulk changes at the start of a run, over the branch when one is set.
  void SetStates(int newState, int oldState);
  void SetMarks(int state, int mark);
  // Tells the observer that `node` (with `subtree`: everything below it) changed.
  void NodeChanged(const CQNDocNode* node, bool subtree = false);

  // The URL map (QN_FASTPARSE). A failed allocation switches the option off.
  void BuildUrlMap();
  void DropUrlMap();
  bool HasUrlMap();

  // Run counters.
  void ResetCounters();
  void CountFile();
  void CountAttempt(int delta = 1);
  void CountBytes(std::int64_t bytes);
  CQNRunCounters Counters();
  // The counters a status record's mask asks for (file count, total size, link
  // count), as texts and as numbers, with the run's speed since it started.
  void FillCounts(QNStatus& status);

  // Statistics of the tree; while a run is active nodes, done files and bytes come
  // from the run's counters.
  QNTreeStats Statistics(int typeMask = -1);
  QNStartModeStats StartModeStatistics();
  int NodeCount();
  // The settings as they stand, copied under the tree lock (a run may change them).
  CQNSettings SettingsCopy();

  // Download runs (Controller.cpp, RunCommands.cpp). The environment is set by the
  // program, from any thread; each run takes a copy of it when it starts.
  void SetRunEnvironment(QNRunEnvironment environment);
  QNRunEnvironment RunEnvironment() const;
  // The commands. Start Download resumes a paused run, or chooses the download kind
  // (asking the observer unless the run is unattended) and starts the project's start
  // addresses; false when nothing was started.
  bool StartDownload();
  bool StartPreview();
  // A run limited to `node` and its descendants (the whole tree for the root).
  bool StartBranch(CQNDocNode* node);
  void Pause();
  void Resume();
  void Stop();
  void AbortFile(int worker);
  // Ends a run by force: waits for its threads for the environment's forced-stop
  // wait, then gives up on those still running. The project is saved afterwards
  // with DownloadState 1. False when threads were left behind.
  bool ForcedStop();
  // Starts the controller thread; false when it cannot be created or a run is going.
  bool StartRun(const std::vector<std::string>& addresses, CQNDocNode* branch, bool preview);
  // Waits for the current run's controller to finish; true once it has (or when no
  // run was started).
  bool WaitForRunEnd(std::chrono::milliseconds timeout);
  int DownloadKind() const;
  // False when the run must end: the stop request or a limit (the stop reason tells
  // which). Called by every worker after each address; the limits are read from the
  // settings as they stand, so a limit changed during the run holds at once.
  bool CheckLimits();
  // Counts the changes of the settings applied while the document lives; a worker
  // takes the settings again before its next address when the count has moved.
  unsigned SettingsChanges() const { return settingsChanges_; }
  // Takes over edited settings when they differ from the current ones: the tree
  // display is rebuilt or the root retitled as they ask, and during a run the
  // address map and the number of workers follow.
  void ApplyChangedSettings(const CQNSettings& changed);
  // The root takes the settings' title (55472 "New Project" when it has none), after
  // the title was set on the record itself; the root's identity, when there is one.
  std::optional<QNNodeId> RetitleRoot();
  // Whether the run going on has used up its time limit (as the settings now stand).
  bool TimeLimitReached();
  // Whether the last run got past its start procedure.
  bool LastRunStarted() const { return lastRunStarted_; }
  // How the last run ended; nothing while it goes on (or before the first run).
  std::optional<QNRunEnd> LastRunEnd();
  // Whether threads that a forced stop gave up on are still running.
  bool LeftBehindThreadsRunning();

 private:
  friend class QNController;
  friend class QNWorker;

  std::shared_ptr<QNRun> CurrentRun();
  QNRunLimits LiveLimits();
  bool TimeLimitReached(const QNRunLimits& limits) const;
  // A run was started and its controller has not finished.
  bool RunGoing();
  // The forced stop without the save; true when the run's threads ended in time.
  bool StopThreadsByForce();
  void ReinitialiseTree();
  void SetStartIndex(int index);
  // Reserves the node for the calling worker when it is pending.
  bool ReserveNode(CQNDocNode* node);

  CQNDocNode* FindLocked(std::string_view address, bool useMap);
  void AddOneLink(CQNDocNode* page, const std::string& text, const std::string& address,
                  bool fromFrame, const ContentProbeFn& probe);
  CQNDocNode* AddUserNode(int kind, CQNDocNode* ref, bool into, std::string_view localFile);
  CQNDocNode* InsertPrepared(CQNDocNode* node, CQNDocNode* ref, bool into);
  void EnterInMap(CQNDocNode* node);
  void NotifyAdded(const CQNDocNode* node);
  void NotifyChanged(const QNNodeId& node, bool subtree);
  std::string LocalName(const std::string& address, bool page) const;

  CQNSettings& settings_;
  IQNObserver& observer_;
  IQNLogSink& log_;
  const QNTexts texts_;
  CQNDocTree tree_;
  mutable CQNDocLocks locks_;
  CQNUrlMap urlMap_;
  CQNRunCounters counters_;
  LocalNameFn localNamer_;

  mutable std::mutex envMutex_;  // guards env_: each run starts from a copy
  QNRunEnvironment env_;
  std::mutex runMutex_;  // guards run_
  std::shared_ptr<QNRun> run_;
  std::weak_ptr<QNRun> leftBehind_;
  std::atomic<bool> lastRunStarted_{false};
  std::atomic<unsigned> settingsChanges_{0};
  QNTreeReady treeReady_;
  std::atomic<bool> treeUsable_{true};

  // Guarded by the queue lock.
  QNSelectionQueue queue_;
  int startIndex_ = 0;
  std::string startDir_;
  QNFilterScope scope_;
  CQNDocNode* branch_ = nullptr;
};

}  // namespace qn
