// The mapping editor: the folder mappings in use with where each comes from, the operator's
// own ones to add, change and remove, and where the loaded site's two folders are read.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QStandardItemModel;
class QTableView;

namespace card {

class FolderMappingEditor : public QDialog {
    Q_OBJECT
public:
    // recordsFolder and photoFolder as the loaded parameter file gives them (empty before one).
    FolderMappingEditor(QWidget* parent, const QString& recordsFolder, const QString& photoFolder);

private:
    void buildParts();
    void connectParts();
    void showMappings();
    void showSiteFolders();
    void enableButtons();
    int savedIndexOfCurrentRow() const;
    void addMapping();
    void changeMapping();
    void removeMapping();

    QString m_recordsFolder;
    QString m_photoFolder;
    QLabel* m_site;
    QStandardItemModel* m_model;
    QTableView* m_list;
    QPushButton* m_add;
    QPushButton* m_change;
    QPushButton* m_remove;
    QPushButton* m_close;
};

} // namespace card
