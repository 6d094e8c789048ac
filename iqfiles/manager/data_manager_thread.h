// CWMultiDataMgrThread: the worker on which the data manager lives. Other
// threads reach the data manager only through this thread's queue:
//
// Get requests (index = input 0..3):
//   1 active flag (bool)        2 text-file type (int)
//   3 text-file rate (double)   4 text-file centre frequency (double)
//   5 type code (int)           6 file name (string copy, null when none)
//   7 new CQFileInfo (the requester owns it)
//   8 new CQModFileInfo (pointer; the requester owns it)
//   10 root file name (string copy)   11 normalise flag (index unused)
// Set requests:
//   1 bool active, 2 int text type, 3 double rate, 4 double centre,
//   6 string file name, 9 CQFileDataBlock* read (whole or partial) while the
//   requester waits, 11 bool normalise flag.
// Messages: 5/6 save/recall the "DataManager:File %d:" keys; 14 open and 15
// close the data file of the input given in the message's word; 17 re-type
// input 0 and hand its name to its reader again.
//
// String answers are copies made on this thread while the requester waits,
// never pointers into the data manager.
#pragma once

#include <memory>

#include "workers/ui_thread.h"
#include "iqfiles/manager/data_manager.h"

class CWMultiDataMgrThread : public CWUIThread {
 public:
  enum Message : int32_t {
    kMsgOpenDataFile = 14,
    kMsgCloseDataFile = 15,
    kMsgHandleNewFile = 17,
  };
  enum Param : int32_t {
    kParamActive = 1,
    kParamTxtType = 2,
    kParamTxtSampleRate = 3,
    kParamTxtCenterFreq = 4,
    kParamFileType = 5,
    kParamFileName = 6,
    kParamFileInfo = 7,
    kParamModFileInfo = 8,
    kParamReadData = 9,
    kParamRootFileName = 10,
    kParamNormalize = 11,
  };

  // Takes ownership of manager; null builds a new one.
  explicit CWMultiDataMgrThread(CQMultiDataMgr* manager = nullptr);
  ~CWMultiDataMgrThread() override;

  // The data manager, for the application before the thread starts.
  CQMultiDataMgr* GetDataMgr() { return manager_.get(); }

 protected:
  void OnMessage(const CWThreadMessage& msg) override;
  void OnMsgGetParam(CWGetSetData& request) override;
  void OnMsgSetParam(CWGetSetData& request) override;
  void OnMsgSaveSettings(CQAppSettings& settings) override;
  void OnMsgRecallSettings(CQAppSettings& settings) override;

 private:
  // Messages 14, 15 and 17: open and close input index's data file, and
  // re-type input 0 and hand its name to its reader again.
  void OnMsgDataOpenDataFile(int32_t index);
  void OnMsgDataCloseDataFile(int32_t index);
  void OnMsgDataHandleNewFile();

  // The input's name, or "No input file selected." when it has none.
  const wchar_t* SelectedName(int32_t index) const;

  std::unique_ptr<CQMultiDataMgr> manager_;
};
