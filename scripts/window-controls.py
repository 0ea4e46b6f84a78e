#!/usr/bin/env python3
# Writes tests/gui/support/window_controls.{h,cpp} from the control members the
# windows declare, so tests can read every control by name. Run from the
# repository's top folder, then clang-format the two files.
import re,sys
windows = [
 ('TForm1','src/app/main_window.h'),
 ('TForm2','src/app/about_box.h'),
 ('TForm3','src/app/splash_window.h'),
 ('TForm4','src/app/preview_window.h'),
 ('Tfrmhelp1','src/app/help_window.h'),
 ('Tfrmnotsaved','src/app/save_prompt.h'),
 ('TForm5','src/codegen/code_generator_window.h'),
 ('Tfrmprojects','src/projects/projects_dialog.h'),
 ('TImageInsert','src/projects/image_dialog.h'),
 ('TForm8','src/projects/site_chooser.h'),
 ('Tfrmmanager','src/quickcode/manager_window.h'),
 ('Tfrmopenlists','src/quickcode/list_chooser.h'),
 ('Tfrmnewedit','src/quickcode/list_editor.h'),
 ('TListPicker','src/quickcode/list_picker.h'),
]
arrays = {('Tfrmmanager','ToolButton'):'ToolButton%d', ('Tfrmmanager','Button'):'Button%d'}
out_h=[]; out_c=[]; members_all={}
types=set()
for cls,hdr in windows:
    s=open(hdr).read()
    body=s[s.index('class %s '%cls):]
    body=body[:body.index('\n};')]
    mem=[]
    for m in re.finditer(r'^  ([A-Za-z_][A-Za-z0-9_]*)\* ([A-Za-z_][A-Za-z0-9_]*)(\[(\d+)\])? = (nullptr|\{\});', body, re.M):
        t,n,_,arr,_=m.groups()
        if n.endswith('_'): continue
        mem.append((t,n,int(arr) if arr else None)); types.add(t)
    members_all[cls]=mem
    out_h.append('struct %sControls {' % cls)
    for t,n,arr in mem:
        out_h.append('  %s* %s%s = %s;' % (t,n,'[%d]'%arr if arr else '', '{}' if arr else 'nullptr'))
    out_h.append('};')
    out_h.append('%sControls Controls(const %s& window);' % (cls,cls))
    out_h.append('inline %sControls Controls(const %s* window) { return Controls(*window); }' % (cls,cls))
    out_h.append('')
    out_c.append('%sControls Controls(const %s& window) {' % (cls,cls))
    out_c.append('  %sControls c;' % cls)
    for t,n,arr in mem:
        if arr:
            out_c.append('  for (int i = 0; i < %d; ++i) {' % arr)
            out_c.append('    c.%s[i] = Control<%s>(window, QStringLiteral("%s%%1").arg(i + 1));' % (n,t,n))
            out_c.append('  }')
        else:
            out_c.append('  c.%s = Control<%s>(window, QStringLiteral("%s"));' % (n,t,n))
    out_c.append('  return c;')
    out_c.append('}')
    out_c.append('')
fwd='\n'.join('class %s;'%t for t in sorted(types|{c for c,_ in windows}) if not t.startswith('Q'))
qfwd='\n'.join('class %s;'%t for t in sorted(types) if t.startswith('Q'))
hdr='''// The controls of every window, found by their object names as a user's tools
// would find them. Windows keep their controls to themselves; tests read them
// here. A control that is missing ends the test run with its name.
// Made from the windows' declarations by scripts/window-controls.py; run it
// after adding or renaming a control.
#pragma once

#include <QObject>
#include <QString>

%s
%s

// The one child of `window` (not inside another window) of that type and name;
// a missing or doubled control is a fatal test error.
QObject* FindControl(const QObject& window, const QString& name, const QMetaObject& type);

template <typename T>
T* Control(const QObject& window, const QString& name) {
  return static_cast<T*>(FindControl(window, name, T::staticMetaObject));
}

%s''' % (qfwd, fwd, '\n'.join(out_h))
open('tests/gui/support/window_controls.h','w').write(hdr)
incs=sorted(set(h for _,h in windows))
import os
qt=sorted(t for t in types if t.startswith('Q'))
others=['editor_control.h','file_lists.h','flat_button.h','list_box.h','web_browser.h']
cpp='''#include "window_controls.h"

%s

%s

QObject* FindControl(const QObject& window, const QString& name, const QMetaObject& type) {
  QList<QObject*> found;
  QList<const QObject*> pending{&window};
  while (!pending.isEmpty()) {
    const QObject* parent = pending.takeFirst();
    for (QObject* child : parent->children()) {
      if (child->objectName() == name && type.cast(child) != nullptr) found << child;
      // Dialogs owned by a window are windows of their own, with controls of
      // their own; a popup menu is a control that is a window too.
      auto* widget = qobject_cast<QWidget*>(child);
      if (widget == nullptr || !widget->isWindow()) pending << child;
    }
  }
  if (found.size() != 1) {
    qFatal("%%s has %%d controls named %%s of type %%s", qPrintable(window.objectName()),
           static_cast<int>(found.size()), qPrintable(name), type.className());
  }
  return found.first();
}

%s''' % ('\n'.join('#include <%s>'%t for t in qt+['QWidget']), '\n'.join('#include "%s"'%os.path.basename(h) for h in sorted(set(incs+others))), '\n'.join(out_c))
open('tests/gui/support/window_controls.cpp','w').write(cpp)
