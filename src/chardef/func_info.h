#pragma once
// CCreateFuncInfo: one registered entry — its record and, for motions and image
// layers, its rows in block order. Owns both.
#include <memory>
#include <utility>
#include <vector>

#include "chardef/func_param.h"
#include "chardef/root_config.h"

class CCreateFuncInfo {
 public:
  explicit CCreateFuncInfo(std::unique_ptr<CRootConfig> config) : config_(std::move(config)) {}
  virtual ~CCreateFuncInfo() = default;
  CCreateFuncInfo(const CCreateFuncInfo&) = delete;
  CCreateFuncInfo& operator=(const CCreateFuncInfo&) = delete;

  CRootConfig& Config() { return *config_; }
  const CRootConfig& Config() const { return *config_; }
  // The record as its entry class, or null when it is of another class.
  template <class T>
  T* ConfigAs() {
    return dynamic_cast<T*>(config_.get());
  }
  template <class T>
  const T* ConfigAs() const {
    return dynamic_cast<const T*>(config_.get());
  }

  std::vector<std::unique_ptr<CFuncParam>>& Rows() { return rows_; }
  const std::vector<std::unique_ptr<CFuncParam>>& Rows() const { return rows_; }

 private:
  std::unique_ptr<CRootConfig> config_;
  std::vector<std::unique_ptr<CFuncParam>> rows_;
};
