// Page texts by language code. Texts are HTML fragments.
var lang = [];

lang['de'] = {
  'yes': 'Ja',
  'no': 'Nein',
  'cancel': 'Abbruch',
  'back-button': 'Zurück',
  'error': 'Fehler',
  'title': 'quillbox Setup-Auswahl',
  'main-question': 'Wählen Sie das Setup welches Sie durchführen möchten:',
  'main-switch': '▽ Weitere Optionen anzeigen',
  'main-switch-off': '△ Weniger Optionen anzeigen',
  'recommended': '<b>Empfohlen!</b>',
  'install': 'Installiere',
  'setupInfo': 'Öffne Setup-Informationen'
};

lang['en'] = {
  'yes': 'Yes',
  'no': 'No',
  'cancel': 'Cancel',
  'back-button': 'Back',
  'error': 'Error',
  'title': 'quillbox Setup Selection',
  'main-question': 'Select the setup you like to perform:',
  'main-switch': '▽ Show more options',
  'main-switch-off': '△ Show fewer options',
  'recommended': '<b>Recommended!</b>',
  'install': 'Install',
  'setupInfo': 'Open setup information'
};

lang['fr'] = {
  'yes': 'Oui',
  'no': 'Non',
  'cancel': 'Annuler',
  'back-button': 'Retour',
  'error': 'Erreur',
  'title': 'Sélection de l\'installateur quillbox',
  'main-question': 'Sélectionnez la configuration que vous souhaitez effectuer :',
  'main-switch': '▽ Afficher d\'autres options',
  'main-switch-off': '△ Afficher moins d\'options',
  'recommended': '<b>Recommandé !</b>',
  'install': 'Installer',
  'setupInfo': 'Informations sur l\'installation ouverte'
};
