// Names of the main window's controls that the tile operations read and write.
#pragma once

inline constexpr const char* kProgramBox = "编辑框_程序路径";
inline constexpr const char* kNameBox = "编辑框_文件名称";
inline constexpr const char* kHideNameBox = "选择框_不显示文字";
inline constexpr const char* kWhiteRadio = "单选框_文字颜色_白色";
inline constexpr const char* kBlackRadio = "单选框_文字颜色_黑色";
inline constexpr const char* kColourBox = "编辑框_背景颜色";
inline constexpr const char* kLargeBox = "编辑框_大图背景";
inline constexpr const char* kSmallBox = "编辑框_小图背景";
inline constexpr const char* kIconBox = "编辑框_图标位置";
inline constexpr const char* kAddButton = "按钮_添加磁贴";
inline constexpr const char* kLargePreview = "图片框_效果背景";
inline constexpr const char* kSmallPreview = "图片框_效果背景_小";
