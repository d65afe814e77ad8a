// Texts of the served page that the core does not hold: the browser's own
// situations (storage, server, offline copy, drafts). Kept together here.

export const PAGE_TEXTS = {
  // The verdict stands in the busy panel until the report can be drawn.
  preparingReport: (verdict) => `${verdict}\n計算書を準備しています…`,
  fontsFailed: '計算書のフォントをサーバーから読み込めませんでした。'
    + 'サーバーに接続できるか確かめてから、もう一度 計　算 を押して下さい。',
  pdfLibraryFailed: (file) => `PDF保存に必要なファイル「${file}」を読み込めませんでした。`
    + 'サーバーに接続できるか確かめて下さい。',
  tableNotServed: (file, status) => `所在地データ「${file}」をサーバーから読み込めませんでした`
    + `${status ? ` (HTTP ${status})` : ''}。配布されたフォルダーの Load_data がサーバーにあるか確かめて下さい。`,
  tableChoice: (names) => `所在地データは ${names.join(' または ')} を選択して下さい。`,
  tableTooLarge: (file, megabytes) => `所在地データ「${file}」(${megabytes} MB) はこのブラウザーに保存できる大きさを超えています。`
    + '所在地データは変更されていません。',
  tablesInUse: (names) => (names.length ? `使用中: ${names.join(', ')} (ブラウザに保存)` : '使用中: 標準の所在地データ'),
  picturesMissing: (files) => `画像ファイル${files.map((f) => `「${f}」`).join('')}を開けません。`,
  draftOffer: '前回の入力内容が保存されずに残っています。復元しますか?',
  draftAnswers: ['復元する', '破棄する'],
  newVersion: '新しい版のTavilo屋根計算プログラムに更新されました。',
  previewCaption: '印刷プレビュー',
  previewHint: '印刷される計算書を画面で確認します',
  spanTablePreviewHint: '印刷されるスパン表を画面で確認します',
  spanTableHint: 'デッキ・スパン数ごとの最長スパンを表示します',
  close: '閉じる',
};
