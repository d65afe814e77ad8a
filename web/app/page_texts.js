// Texts of the served page that the core does not hold: the browser's own
// situations (storage, server, offline copy, drafts). Kept together here.

export const PAGE_TEXTS = {
  // The verdict stands in the busy panel until the report can be drawn.
  preparingReport: (verdict) => `${verdict}\n計算書を準備しています…`,
  fontsFailed:
    '計算書のフォントをサーバーから読み込めませんでした。' +
    'サーバーに接続できるか確かめてから、もう一度 計　算 を押して下さい。',
  pdfLibraryFailed: (file) =>
    `PDF保存に必要なファイル「${file}」を読み込めませんでした。` + 'サーバーに接続できるか確かめて下さい。',
  tableNotServed: (file, status) =>
    `所在地データ「${file}」をサーバーから読み込めませんでした` +
    `${status ? ` (HTTP ${status})` : ''}。配布されたフォルダーの Load_data がサーバーにあるか確かめて下さい。`,
  tableTooLarge: (file, megabytes) =>
    `所在地データ「${file}」(${megabytes} MB) はこのブラウザーに保存できる大きさを超えています。` +
    '所在地データは変更されていません。',
  draftOffer: '前回の入力内容が保存されずに残っています。復元しますか?',
  draftAnswers: ['復元する', '破棄する'],
  newVersion: '新しい版のTavilo屋根計算プログラムに更新されました。',
  previewCaption: '印刷プレビュー',
  close: '閉じる',
};
