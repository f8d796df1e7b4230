# Parsing Qt's headers takes most of the time of compiling a file here. The Qt-based
# libraries share one precompiled header of the Qt headers they use most: it is compiled
# once, by the first library that asks for it, and reused by the others.
set(TAVIK_QT_PCH_HEADERS
  <QApplication> <QWidget> <QDialog> <QLabel> <QLineEdit> <QPlainTextEdit> <QPushButton> <QComboBox>
  <QTableView> <QHeaderView> <QPainter> <QTimer> <QFileInfo> <QDir> <QFile> <QString> <QStringList>
  <QKeyEvent> <QMouseEvent> <QFont> <QFontMetrics> <QStyle> <QProcess> <QLocalSocket>
  <functional> <memory> <optional> <string> <string_view> <vector>)

function(tavik_precompile_qt target)
  get_property(owner GLOBAL PROPERTY TAVIK_QT_PCH_OWNER)
  if(owner)
    target_precompile_headers(${target} REUSE_FROM ${owner})
  else()
    target_precompile_headers(${target} PRIVATE ${TAVIK_QT_PCH_HEADERS})
    set_property(GLOBAL PROPERTY TAVIK_QT_PCH_OWNER ${target})
  endif()
endfunction()
