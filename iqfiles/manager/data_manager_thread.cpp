#include "iqfiles/manager/data_manager_thread.h"

#include "core/call_stack.h"
#include "core/error.h"
#include "iqfiles/formats/iqbin.h"

CWMultiDataMgrThread::CWMultiDataMgrThread(CQMultiDataMgr* manager)
    : CWUIThread("CWMultiDataMgrThread", "lv-datamgr"),
      manager_(manager != nullptr ? manager : new CQMultiDataMgr()) {}

CWMultiDataMgrThread::~CWMultiDataMgrThread() { StopAndJoin(); }

void CWMultiDataMgrThread::OnMessage(const CWThreadMessage& msg) {
  const int32_t index = static_cast<int32_t>(msg.word);
  switch (msg.id) {
    case kMsgOpenDataFile:
      OnMsgDataOpenDataFile(index);
      return;
    case kMsgCloseDataFile:
      OnMsgDataCloseDataFile(index);
      return;
    case kMsgHandleNewFile:
      OnMsgDataHandleNewFile();
      return;
    default:
      CWUIThread::OnMessage(msg);
  }
}

void CWMultiDataMgrThread::OnMsgDataOpenDataFile(int32_t index) {
  lv::Named("CWMultiDataMgrThread::OnMsgDataOpenDataFile", [&] { manager_->OpenDataFile(index); });
}

void CWMultiDataMgrThread::OnMsgDataCloseDataFile(int32_t index) {
  lv::Named("CWMultiDataMgrThread::OnMsgDataCloseDataFile", [&] { manager_->CloseDataFile(index); });
}

void CWMultiDataMgrThread::OnMsgDataHandleNewFile() {
  lv::Named("CWMultiDataMgrThread::OnMsgDataHandleNewFile", [&] { manager_->HandleNewFile(0); });
}

const wchar_t* CWMultiDataMgrThread::SelectedName(int32_t index) const {
  const wchar_t* name = manager_->GetIQFileName(index);
  if (name == nullptr || *name == L'\0') {
    throw new CQError("No input file selected.");
  }
  return name;
}

void CWMultiDataMgrThread::OnMsgGetParam(CWGetSetData& r) {
  const int32_t index = r.index;
  switch (r.paramId) {
    case kParamActive:
      r.SetBool(manager_->GetIsFileActive(index));
      return;
    case kParamTxtType:
      r.SetInt(manager_->GetTxtFileType(index));
      return;
    case kParamTxtSampleRate:
      r.SetDouble(manager_->GetTxtSampleRate(index));
      return;
    case kParamTxtCenterFreq:
      r.SetDouble(manager_->GetTxtCenterFreq(index));
      return;
    case kParamFileType:
      r.SetInt(manager_->GetInputFileType(index));
      return;
    case kParamFileName:
      r.SetStringCopy(manager_->GetIQFileName(index));
      return;
    case kParamFileInfo:
      r.SetFileInfo(manager_->GetIQFileInfo(SelectedName(index), index));
      return;
    case kParamModFileInfo:
      r.SetPointer(manager_->GetModFileInfo(SelectedName(index), index));
      return;
    case kParamRootFileName:
      r.SetStringCopy(manager_->GetRootFileName(index));
      return;
    case kParamNormalize:
      r.SetBool(manager_->GetNormalize());
      return;
    default:
      throw new CQError("Unknown parameter type.");
  }
}

void CWMultiDataMgrThread::OnMsgSetParam(CWGetSetData& r) {
  const int32_t index = r.index;
  switch (r.paramId) {
    case kParamActive:
      manager_->SetIsFileActive(r.GetBool(), index);
      return;
    case kParamTxtType:
      manager_->SetTxtFileType(r.GetInt(), index);
      return;
    case kParamTxtSampleRate:
      manager_->SetTxtSampleRate(r.GetDouble(), index);
      return;
    case kParamTxtCenterFreq:
      manager_->SetTxtCenterFreq(r.GetDouble(), index);
      return;
    case kParamFileName:
      manager_->SetIQFileName(r.GetString(), index);
      return;
    case kParamReadData: {
      CQFileDataBlock* block = r.GetFileDataBlock();
      SelectedName(index);
      manager_->ReadFileData(block, index);
      return;
    }
    case kParamNormalize:
      manager_->SetNormalize(r.GetBool());
      return;
    default:
      throw new CQError("Unknown parameter type.");
  }
}

void CWMultiDataMgrThread::OnMsgSaveSettings(CQAppSettings& settings) { manager_->SaveSettings(&settings); }

void CWMultiDataMgrThread::OnMsgRecallSettings(CQAppSettings& settings) { manager_->RecallSettings(&settings); }
